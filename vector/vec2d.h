// VEC2D: an integer 2D point with a colour. Also serves as a plain pair of integers (a scale
// factor, an offset, a cell size). Records are usually embedded in other records or live on the
// caller's stack; vec2d_new/vec2d_free are for the few that stand alone.
#pragma once
#include <cstdint>

struct Vec2d {
  int32_t x;        // column, growing to the right
  int32_t y;        // row, growing downwards
  uint32_t colour;  // 0x00RRGGBB; 0xFFFFFF for a new point
};

Vec2d* vec2d_new();                                  // (0, 0), white; null on allocation failure
void vec2d_free(Vec2d** point);                      // frees and nulls the caller's pointer
void vec2d_copy(const Vec2d* src, Vec2d* dst);       // x, y and colour
void vec2d_add(const Vec2d* offset, Vec2d* target);  // target += offset; note: the 2nd is changed
void vec2d_mul(Vec2d* target, const Vec2d* factor);  // per component, 32-bit wrapping products
// Rotation about (0, 0); angle: 1024 units per turn, any integer. 0 is skipped (exact); every
// other angle goes through the sine table with a flooring shift by 15 (slightly contracting).
void vec2d_rotate(Vec2d* point, int32_t angle);
