// ARCHPATH: walkers along chains of circular arcs on a torus.
#include "effects/archpath.h"

#include <cstdio>
#include <cstdlib>

#include "image/fixed.h"
#include "image/ident.h"
#include "image/img.h"
#include "image/imgfx.h"
#include "image/rgb.h"

namespace {

constexpr bool kReport = false;

[[gnu::used]] constexpr Identity kIdentity = {
    "ARCHPATH", "20150812", "Kelvardo", "LINUX   ", "CODE    "};

constexpr int32_t kSparkleCount = 18;
constexpr int32_t kHalfTurn = 512;
constexpr int32_t kQuarterTurn = 256;

void archpath_error() {
  if (kReport) std::puts("ARCHPATH error");
}

inline int32_t sin_of(int32_t a) { return sine_table[a & sine_mask]; }
inline int32_t cos_of(int32_t a) { return sine_table[(a + kQuarterTurn) & sine_mask]; }

// Offset of a point at distance r along table angle a (arithmetic shift, rounds down).
inline int32_t along_x(int32_t a, int32_t r) { return wrap_mul(sin_of(a), r) >> 15; }
inline int32_t along_y(int32_t a, int32_t r) { return wrap_mul(cos_of(a), r) >> 15; }

// One wrap into [0, extent): enough for any move of at most one extent.
inline int32_t wrap_once_up(int32_t v, int32_t extent) {
  if (v >= extent) return wrap_sub(v, extent);
  if (v < 0) return wrap_add(v, extent);
  return v;
}

// Duration of a new circle: numerator over the step in force, made positive. A step of 0
// (possible only when set from outside) counts as 1.
inline int32_t new_duration(int32_t numerator, int32_t step) {
  const int32_t d = numerator / (step == 0 ? 1 : step);
  return d < 0 ? -d : d;
}

enum class Rule { kSwing, kWander, kBounce, kDrift };

// The shared part of every step rule: one step along the circle, and at the end of the
// circle's duration the move to the next circle through the same point.
void step_with(ArchPath* w, Rule rule) {
  if (!w) {
    archpath_error();
    return;
  }
  w->angle = wrap_add(w->angle, w->step) & sine_mask;
  w->counter = wrap_add(w->counter, 1);
  if (w->counter < w->duration) return;

  int32_t r = w->radius;
  int32_t duration = w->duration;
  switch (rule) {
    case Rule::kSwing:
      break;
    case Rule::kWander:
      r = (std::rand() & 31) + 16;
      duration = new_duration((std::rand() % 1024) + 256, w->step);
      break;
    case Rule::kBounce:
      r = (std::rand() & 15) + 8;
      duration = new_duration((std::rand() % 768) + 256, w->step);
      break;
    case Rule::kDrift:
      r = (std::rand() & 15) + 8;
      duration = new_duration((std::rand() % 2048) + 2048, w->step);
      break;
  }
  const int32_t jump = wrap_add(w->radius, r);
  w->x = wrap_once_up(wrap_add(w->x, along_x(w->angle, jump)), w->width);
  w->y = wrap_once_up(wrap_add(w->y, along_y(w->angle, jump)), w->height);
  w->radius = r;
  w->duration = duration;
  w->counter = 0;
  w->angle = (w->angle + kHalfTurn) & sine_mask;
  if (rule != Rule::kBounce) w->step = wrap_neg(w->step);
}

// Draws a w x h picture at (x, y) of the walker's torus and, where it crosses the torus's right
// or left edge, once more shifted by the width; then, where it crosses the bottom or top edge,
// once more shifted by the height (at the column of the last copy).
template <typename Draw>
void draw_wrapped(const ArchPath* w, int32_t x, int32_t y, int32_t width, int32_t height, Draw draw) {
  draw(x, y);
  if (x < 0) {
    x = wrap_add(x, w->width);
    draw(x, y);
  } else if (wrap_add(x, width) > w->width) {
    x = wrap_sub(x, w->width);
    draw(x, y);
  }
  if (y < 0) {
    y = wrap_add(y, w->height);
    draw(x, y);
  } else if (wrap_add(y, height) > w->height) {
    y = wrap_sub(y, w->height);
    draw(x, y);
  }
}

}  // namespace

ArchPath* archpath_new() {
  auto* w = static_cast<ArchPath*>(std::calloc(1, sizeof(ArchPath)));
  if (!w) {
    archpath_error();
    return nullptr;
  }
  w->width = 256;
  w->height = 256;
  w->depth = 256;
  w->glow = img_new();
  w->sprite = img_new();
  archpath_randomize(w);
  return w;
}

void archpath_free(ArchPath** walker) {
  if (!walker || !*walker) {
    archpath_error();
    return;
  }
  if ((*walker)->sprite) img_free(&(*walker)->sprite);
  if ((*walker)->glow) img_free(&(*walker)->glow);
  std::free(*walker);
  *walker = nullptr;
}

void archpath_randomize(ArchPath* w) {
  if (!w || w->width < 1 || w->height < 1) {
    archpath_error();
    return;
  }
  w->x = std::rand() % w->width;
  w->y = std::rand() % w->height;
  w->angle = std::rand() & sine_mask;
  w->step = (std::rand() & 3) + 1;
  w->duration = ((std::rand() % 768) + 256) / w->step;
  w->radius = (std::rand() & 31) + 16;
  w->counter = 0;
  w->colour = (uint32_t(std::rand()) & 0x7F7F7F) + 0x808080;
}

void archpath_step_swing(ArchPath* walker) { step_with(walker, Rule::kSwing); }
void archpath_step_wander(ArchPath* walker) { step_with(walker, Rule::kWander); }
void archpath_step_bounce(ArchPath* walker) { step_with(walker, Rule::kBounce); }
void archpath_step_drift(ArchPath* walker) { step_with(walker, Rule::kDrift); }

void archpath_draw_dot(ArchPath* w, Image* target) {
  if (!w || !target) {
    archpath_error();
    return;
  }
  if (!target->pixels) return;
  int32_t px = wrap_add(w->x, along_x(w->angle, w->radius));
  int32_t py = wrap_add(w->y, along_y(w->angle, w->radius));
  if (px < 0) px = wrap_add(px, w->width);
  else if (px >= w->width) px = wrap_sub(px, w->width);
  if (py < 0) py = wrap_add(py, w->height);
  else if (py >= w->height) py = wrap_sub(py, w->height);
  ImgRect at;
  if (img_clip_rect(target, px, py, 1, 1, &at)) img_row(target, at.row)[at.col] = w->colour;
}

void archpath_draw_sprite(ArchPath* w, Image* target) {
  if (!w || !w->sprite || !target) {
    archpath_error();
    return;
  }
  Image* sprite = w->sprite;
  // The spray picks pixels modulo the sprite's size: an empty sprite has none to pick.
  if (sprite->width < 1 || sprite->height < 1) {
    archpath_error();
    return;
  }
  const int32_t sx = wrap_add(w->x, along_x(w->angle, w->radius));
  const int32_t sy = wrap_add(w->y, along_y(w->angle, w->radius));
  draw_wrapped(w, sx, sy, sprite->width, sprite->height, [&](int32_t x, int32_t y) {
    sprite->x = x;
    sprite->y = y;
    imgfx_sparkle(target, sprite, kSparkleCount);
  });
}

void archpath_draw_glow(ArchPath* w, Image* target) {
  if (!w || !w->glow || !target) {
    archpath_error();
    return;
  }
  Image* glow = w->glow;
  glow->x = wrap_add(w->x, along_x(w->angle, w->radius));
  glow->y = wrap_add(w->y, along_y(w->angle, w->radius));
  draw_wrapped(w, glow->x, glow->y, glow->width, glow->height, [&](int32_t x, int32_t y) {
    imgfx_blit_add(glow, target, 0, 0, x, y, glow->width, glow->height);
  });
}
