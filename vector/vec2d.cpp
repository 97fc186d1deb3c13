// VEC2D: integer point arithmetic and table rotation.
#include "vector/vec2d.h"

#include <cstdio>
#include <cstdlib>

#include "image/fixed.h"
#include "image/ident.h"
#include "image/rgb.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {"VEC2D   ", "20240312", "Kelvardo", "C       ", "CODE    "};
// The one report switch of the system that is on.
constexpr bool kReport = true;

void vec2d_error() {
  if constexpr (kReport) std::puts("VEC2D error");
}

}  // namespace

Vec2d* vec2d_new() {
  auto* point = static_cast<Vec2d*>(std::calloc(1, sizeof(Vec2d)));
  if (!point) {
    vec2d_error();
    return nullptr;
  }
  point->colour = 0xFFFFFF;
  return point;
}

void vec2d_free(Vec2d** point) {
  if (!point || !*point) {
    vec2d_error();
    return;
  }
  std::free(*point);
  *point = nullptr;
}

void vec2d_copy(const Vec2d* src, Vec2d* dst) {
  if (!src || !dst) {
    vec2d_error();
    return;
  }
  *dst = *src;
}

void vec2d_add(const Vec2d* offset, Vec2d* target) {
  if (!offset || !target) {
    vec2d_error();
    return;
  }
  target->x = wrap_add(target->x, offset->x);
  target->y = wrap_add(target->y, offset->y);
}

void vec2d_mul(Vec2d* target, const Vec2d* factor) {
  if (!target || !factor) {
    vec2d_error();
    return;
  }
  target->x = wrap_mul(target->x, factor->x);
  target->y = wrap_mul(target->y, factor->y);
}

void vec2d_rotate(Vec2d* point, int32_t angle) {
  if (!point) {
    vec2d_error();
    return;
  }
  if (angle == 0) return;
  const int32_t s = sine_table[angle & sine_mask];
  const int32_t c = sine_table[wrap_add(angle, 256) & sine_mask];
  const int32_t x = point->x;
  const int32_t y = point->y;
  point->x = wrap_sub(wrap_mul(x, c), wrap_mul(y, s)) >> 15;
  point->y = wrap_add(wrap_mul(x, s), wrap_mul(y, c)) >> 15;
}
