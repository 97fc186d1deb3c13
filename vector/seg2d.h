// SEG2D: a line segment of two Vec2d ends, drawn in the colour of end a. Objects draw a
// transformed copy of each stored segment: seg2d_copy into a scratch segment on the stack, then
// scale, rotate, translate, draw.
#pragma once
#include "vector/vec2d.h"

struct Image;

struct Seg2d {
  Vec2d a;  // first end; its colour is the drawing colour
  Vec2d b;  // second end; its colour is carried along, not drawn
};

Seg2d* seg2d_new();                                       // (0, 0)-(1, 1), both white; null on failure
void seg2d_free(Seg2d** segment);                         // frees and nulls the caller's pointer
void seg2d_copy(const Seg2d* src, Seg2d* dst);
void seg2d_translate(Seg2d* segment, const Vec2d* offset);
void seg2d_scale(Seg2d* segment, const Vec2d* factor);
void seg2d_rotate(Seg2d* segment, int32_t angle);         // both ends, 1024 units per turn
void seg2d_draw(const Seg2d* segment, Image* image);      // img_line a..b, both ends included
