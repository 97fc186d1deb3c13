// SEG2D: segment transforms built from the VEC2D operations, and drawing through img_line.
#include "vector/seg2d.h"

#include <cstdio>
#include <cstdlib>

#include "image/ident.h"
#include "image/img.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {"SEG2D   ", "20240312", "Kelvardo", "C       ", "CODE    "};
constexpr bool kReport = false;

void seg2d_error() {
  if constexpr (kReport) std::puts("SEG2D error");
}

}  // namespace

Seg2d* seg2d_new() {
  auto* segment = static_cast<Seg2d*>(std::calloc(1, sizeof(Seg2d)));
  if (!segment) {
    seg2d_error();
    return nullptr;
  }
  segment->a = Vec2d{0, 0, 0xFFFFFF};
  segment->b = Vec2d{1, 1, 0xFFFFFF};
  return segment;
}

void seg2d_free(Seg2d** segment) {
  if (!segment || !*segment) {
    seg2d_error();
    return;
  }
  std::free(*segment);
  *segment = nullptr;
}

void seg2d_copy(const Seg2d* src, Seg2d* dst) {
  if (!src || !dst) {
    seg2d_error();
    return;
  }
  vec2d_copy(&src->a, &dst->a);
  vec2d_copy(&src->b, &dst->b);
}

void seg2d_translate(Seg2d* segment, const Vec2d* offset) {
  if (!segment || !offset) {
    seg2d_error();
    return;
  }
  vec2d_add(offset, &segment->a);
  vec2d_add(offset, &segment->b);
}

void seg2d_scale(Seg2d* segment, const Vec2d* factor) {
  if (!segment || !factor) {
    seg2d_error();
    return;
  }
  vec2d_mul(&segment->a, factor);
  vec2d_mul(&segment->b, factor);
}

void seg2d_rotate(Seg2d* segment, int32_t angle) {
  if (!segment) {
    seg2d_error();
    return;
  }
  vec2d_rotate(&segment->a, angle);
  vec2d_rotate(&segment->b, angle);
}

void seg2d_draw(const Seg2d* segment, Image* image) {
  if (!segment) {
    seg2d_error();
    return;
  }
  img_line(image, segment->a.x, segment->a.y, segment->b.x, segment->b.y, segment->a.colour);
}
