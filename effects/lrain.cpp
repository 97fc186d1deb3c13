// LRAIN: rain drops that move, wrap and draw themselves as streaks.
#include "effects/lrain.h"

#include <cstdio>
#include <cstdlib>

#include "image/fixed.h"
#include "image/ident.h"
#include "image/img.h"

namespace {

constexpr bool kReport = false;

[[gnu::used]] constexpr Identity kIdentity = {
    "LRAIN   ", "20150812", "Kelvardo", "LINUX   ", "CODE    "};

void lrain_error() {
  if (kReport) std::puts("LRAIN error");
}

bool drops_ready(const LRain* rain) {
  return rain && rain->drops && rain->width > 0 && rain->height > 0;
}

// Random 16.16 position of one drop: whole pixel, column drawn first, then row.
void place_drop(LRain* rain, int32_t i) {
  rain->drops[2 * i] = wrap_shl(std::rand() % rain->width, FIX_SHIFT);
  rain->drops[2 * i + 1] = wrap_shl(std::rand() % rain->height, FIX_SHIFT);
}

// Wraps one coordinate of a drop: it leaves only when its whole streak (t pixels) has gone,
// and comes back in on the far side with the same margin; the fraction is dropped.
int32_t wrap_coord(int32_t v, int32_t t, int32_t extent) {
  const int32_t p = v >> FIX_SHIFT;
  if (p < wrap_neg(t)) return wrap_shl(wrap_add(wrap_add(t, extent), -1), FIX_SHIFT);
  if (p >= wrap_add(t, extent)) return wrap_shl(wrap_sub(1, t), FIX_SHIFT);
  return v;
}

}  // namespace

LRain* lrain_new() {
  auto* rain = static_cast<LRain*>(std::calloc(1, sizeof(LRain)));
  if (!rain) {
    lrain_error();
    return nullptr;
  }
  rain->colour = 0xFFFFFF;
  rain->vx = 0;
  rain->vy = FIX_ONE;
  rain->width = 256;
  rain->height = 256;
  lrain_set_count(rain, 16);
  if (!rain->drops) {
    std::free(rain);
    return nullptr;
  }
  return rain;
}

void lrain_free(LRain** rain) {
  if (!rain || !*rain) {
    lrain_error();
    return;
  }
  std::free((*rain)->drops);
  std::free(*rain);
  *rain = nullptr;
}

void lrain_set_count(LRain* rain, int32_t n) {
  if (!rain || n < 1) {
    lrain_error();
    return;
  }
  std::free(rain->drops);
  rain->count = n;
  rain->drops = static_cast<int32_t*>(std::calloc(2 * std::size_t(n), sizeof(int32_t)));
  if (!rain->drops) {
    lrain_error();
    return;
  }
  lrain_reset(rain);
}

void lrain_reset(LRain* rain) {
  if (!drops_ready(rain)) {
    lrain_error();
    return;
  }
  for (int32_t i = rain->count - 1; i >= 0; --i) place_drop(rain, i);
}

void lrain_reset_drop(LRain* rain, int32_t i) {
  if (!drops_ready(rain) || i < 0 || i >= rain->count) {
    lrain_error();
    return;
  }
  place_drop(rain, i);
}

void lrain_update(LRain* rain) {
  if (!rain || !rain->drops) {
    lrain_error();
    return;
  }
  const int32_t vx = rain->vx;
  const int32_t vy = rain->vy;
  const int32_t tx = wrap_mul(2, vx) >> FIX_SHIFT;
  const int32_t ty = wrap_mul(2, vy) >> FIX_SHIFT;
  int32_t* d = rain->drops;
  for (int32_t i = 0; i < rain->count; ++i, d += 2) {
    d[0] = wrap_coord(wrap_add(d[0], vx), tx, rain->width);
    d[1] = wrap_coord(wrap_add(d[1], vy), ty, rain->height);
  }
}

void lrain_draw(LRain* rain, Image* target) {
  if (!rain || !target || !rain->drops) {
    lrain_error();
    return;
  }
  rain->width = target->width;
  rain->height = target->height;
  const int32_t sx = wrap_mul(2, rain->vx);
  const int32_t sy = wrap_mul(2, rain->vy);
  for (int32_t i = rain->count - 1; i >= 0; --i) {
    const int32_t hx = rain->drops[2 * i];
    const int32_t hy = rain->drops[2 * i + 1];
    img_line(target, hx >> FIX_SHIFT, hy >> FIX_SHIFT, wrap_sub(hx, sx) >> FIX_SHIFT,
             wrap_sub(hy, sy) >> FIX_SHIFT, rain->colour);
  }
}
