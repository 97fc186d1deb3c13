// LRADIAL: wheels of two-colour spokes over a shared hue palette.
#include "effects/lradial.h"

#include <cstdio>
#include <cstdlib>

#include "audio/sample.h"
#include "image/fixed.h"
#include "image/ident.h"
#include "image/img.h"
#include "image/imgfx.h"
#include "image/rgb.h"

namespace {

constexpr bool kReport = false;

[[gnu::used]] constexpr Identity kIdentity = {
    "LRADIAL ", "20150812", "Kelvardo", "LINUX   ", "CODE    "};

constexpr int32_t kPaletteLength = hue_length;

// The hue palette shared by every wheel: built by the first wheel, never freed.
Sample* hue_palette = nullptr;

void lradial_error() {
  if (kReport) std::puts("LRADIAL error");
}

// Green, cyan, blue, magenta, red, yellow and back to green, 256 steps between each pair.
void build_palette() {
  if (hue_palette) return;
  hue_palette = sample_new();
  if (!hue_palette) return;
  sample_set_length(hue_palette, kPaletteLength);
  for (int32_t i = 0; i < kPaletteLength; ++i) sample_set(hue_palette, i, int32_t(rgb_hue(i)));
}

}  // namespace

const Sample* lradial_palette() { return hue_palette; }

LRadial* lradial_new() {
  auto* wheel = static_cast<LRadial*>(std::calloc(1, sizeof(LRadial)));
  if (!wheel) {
    lradial_error();
    return nullptr;
  }
  wheel->width = 256;
  wheel->height = 256;
  wheel->x = wheel->width / 2;
  wheel->y = wheel->height / 2;
  wheel->angle = 0;
  wheel->spin = (std::rand() & 0x7FFFF) + 0x8000;
  wheel->radius = ((std::rand() % (wheel->width - 32)) / 2) + 32;
  lradial_set_count(wheel, 16);
  build_palette();
  return wheel;
}

void lradial_free(LRadial** wheel) {
  if (!wheel || !*wheel) {
    lradial_error();
    return;
  }
  std::free(*wheel);
  *wheel = nullptr;
}

void lradial_set_count(LRadial* wheel, int32_t n) {
  if (!wheel || n < 1) {
    lradial_error();
    return;
  }
  wheel->count = n;
  wheel->spacing = (1024 * 65536) / n;
}

void lradial_spin(LRadial* wheel) {
  if (!wheel) {
    lradial_error();
    return;
  }
  wheel->angle = wrap_add(wheel->angle, wheel->spin) & sine_phase_mask;
}

void lradial_draw_rainbow(LRadial* wheel, Image* target) {
  if (!wheel || !target || wheel->count < 1) {
    lradial_error();
    return;
  }
  // A missing palette (allocation failed) reads as black, like any read outside a sample.
  const int32_t p = (hue_palette && hue_palette->data) ? hue_palette->length : 0;
  const int32_t* hues = p > 0 ? hue_palette->data : nullptr;
  const int32_t count = wheel->count;
  const int32_t radius = wheel->radius;
  uint32_t a = uint32_t(wheel->angle);
  for (int32_t n = count; n >= 1; --n) {
    const int32_t e = int32_t(a >> FIX_SHIFT) & sine_mask;
    const int32_t dx = wrap_mul(sine_table[e], radius) >> 15;
    const int32_t dy = wrap_mul(sine_table[(e + 256) & sine_mask], radius) >> 15;
    uint32_t inner = 0, outer = 0;
    if (hues) {
      // 64-bit product: exact for any spoke count.
      const int32_t c0 = int32_t((int64_t(p) * n) / count % p);
      const int32_t c1 = (c0 + p / 8) % p;
      inner = uint32_t(hues[c0]);
      outer = uint32_t(hues[c1]);
    }
    imgfx_line_bicolor(target, wheel->x, wheel->y, inner, wrap_add(wheel->x, dx),
                       wrap_add(wheel->y, dy), outer);
    a = (a + uint32_t(wheel->spacing)) & sine_phase_mask;
  }
}
