// Vector scroller scene: raster bands, circling stars and the wobbling wire-letter ribbon.
#include "scenes/vector_scene.h"

#include <cstdlib>

#include "driver/demo.h"
#include "image/fixed.h"
#include "image/ident.h"
#include "image/img.h"
#include "image/rgb.h"
#include "resources/resources.h"
#include "scenes/scenes.h"
#include "text/font.h"
#include "text/raster.h"
#include "vector/lfont.h"
#include "vector/lscrlxyz.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {
    "VECSCENE", "20150812", "Kelvardo", "C       ", "CODE    "};

constexpr int32_t kW = 256;
constexpr int32_t kH = 256;
constexpr int32_t kStars = 12;
constexpr int32_t kCopies = 32;
constexpr int32_t kHues = 1536;

void fill_ramp() {
  uint32_t* ramp = vector_scene.ramp;
  for (uint32_t i = 0; i < 256; ++i) {
    const uint32_t tri[6] = {i << 16, (i << 16) | (i << 8), i << 8, (i << 8) | i, i, (i << 16) | i};
    for (uint32_t k = 0; k < 6; ++k) {
      ramp[512 * k + i] = tri[k];
      ramp[512 * k + 511 - i] = tri[k];
    }
  }
}

// ((3 * S(angle)) << 10) >> shift: 3S/64 or 3S/32 rounded down.
int32_t wave(int32_t angle, int shift) { return wrap_shl(3 * sine_at(angle), 10) >> shift; }

uint32_t ramp_at(int32_t a, int32_t b) {
  return vector_scene.ramp[(a + b) % vector_ramp_length];
}

void place_star(Font* font, int32_t k, int32_t x, int32_t y) {
  font->glyph = k;
  font->x = x;
  font->y = y;
  font_put_glyph(font);
}

}  // namespace

VectorScene vector_scene;

void vector_scene_release() {
  if (LFont* font = demo.small_wire_font) font->scale = Vec2d{1, 1, font->scale.colour};
  for (Raster*& raster : vector_scene.raster) {
    if (raster) raster_free(&raster);
  }
}

void vector_scene_setup() {
  demo.fade_colour = 0x707070;
  demo.mirror_mode = 0;
  LFont* font = demo.small_wire_font;
  if (font) font->scale = Vec2d{8, 8, font->scale.colour};
  if (!demo.scroller) {
    demo.scroller = lscrlxyz_new();
    if (demo.scroller) {
      lscrlxyz_set_text(demo.scroller, reinterpret_cast<const char*>(res_info), font, demo.screen);
      demo.scroller->speed = 5;
    }
  }
  if (demo.scroller) demo.scroller->y = kH / 2;
  lfont_set_colour(font, scene_palette_pick(std::rand()));
  fill_ramp();
  for (Raster*& raster : vector_scene.raster) {
    if (raster) raster_free(&raster);
  }
  vector_scene.raster[0] = raster_new();
  raster_resize(vector_scene.raster[0], kW);
  vector_scene.raster[1] = raster_new();
  raster_resize(vector_scene.raster[1], kH);
  scene_set_period(160);
}

void vector_scene_paint_bands(int32_t t) {
  Raster* first = vector_scene.raster[0];
  Raster* second = vector_scene.raster[1];
  if (!first || !second || !first->colours || !second->colours) return;
  const int32_t t2 = wrap_mul(2, t), t3 = wrap_mul(3, t), t4 = wrap_mul(4, t);
  for (int32_t i = 0; i < first->count && i < 256; ++i) {
    const int32_t a = wave(wrap_sub(i, t2), 16) + vector_ramp_length;
    const int32_t b = wave(wrap_add(t3, 2 * i), 15) + vector_ramp_length;
    first->colours[i] = ramp_at(a, b);
  }
  for (int32_t i = 0; i < second->count && i < 256; ++i) {
    const int32_t a = wave(wrap_add(t3, 3 * i), 16) + vector_ramp_length;
    const int32_t b = wave(wrap_sub(i, t4), 15) + vector_ramp_length;
    second->colours[i] = ramp_at(a, b);
  }
  raster_draw_rows(first, demo.screen);
  raster_blend_rows(second, demo.screen, 128);
}

void vector_scene_draw_stars(int32_t t) {
  Font* font = demo.star_font;
  if (!font) return;
  // Three rings of the same stars: the plain circle, one scaled by a swinging factor and one of a
  // swinging radius. Remainders by 1023 and 511, not masks, exactly as the curves were designed.
  const uint32_t ut = uint32_t(t);
  const int32_t cx = kW / 2 - 8;
  const int32_t cy = kH / 2 - 8;
  const int32_t quarter = sine_length / 4;
  const int32_t ring2_scale_x = sine_table[(9u * ut) % 511u];
  const int32_t ring2_scale_y = sine_table[(17u * ut) % 511u];
  const int32_t ring3_radius_x = (sine_table[(9u * ut) % 1023u] >> 10) + 64;
  const int32_t ring3_radius_y = (sine_table[(17u * ut) % 1023u] >> 10) + 64;
  for (int32_t k = 0; k < kStars; ++k) {
    const uint32_t base = 7u * ut + 85u * uint32_t(k);
    const int32_t sin_k = sine_table[base % 1023u];
    const int32_t cos_k = sine_table[(base + uint32_t(quarter)) % 1023u];
    place_star(font, k, (sin_k >> 8) + cx, (cos_k >> 8) + cy);
  }
  for (int32_t k = 0; k < kStars; ++k) {
    const uint32_t base = 7u * ut + 85u * uint32_t(k);
    const int32_t sin_k = sine_table[base % 1023u];
    const int32_t cos_k = sine_table[(base + uint32_t(quarter)) % 1023u];
    place_star(font, k, ((sin_k * ring2_scale_x) >> 24) + cx, ((cos_k * ring2_scale_y) >> 24) + cy);
  }
  for (int32_t k = 0; k < kStars; ++k) {
    const uint32_t base = 7u * ut + 85u * uint32_t(k);
    const int32_t sin_k = sine_table[base % 1023u];
    const int32_t cos_k = sine_table[(base + uint32_t(quarter)) % 1023u];
    place_star(font, k, ((sin_k * ring3_radius_x) >> 15) + cx, ((cos_k * ring3_radius_y) >> 15) + cy);
  }
}

void vector_scene_draw_ribbon(int32_t t) {
  LScrlXyz* scroller = demo.scroller;
  if (!scroller) return;
  const int32_t x0 = scroller->x;
  const int32_t y0 = scroller->y;
  const uint32_t ut = uint32_t(t);
  for (int32_t k = 0; k < kCopies; ++k) {
    scroller->x = x0 + (sine_at(wrap_sub(3 * k, wrap_mul(11, t))) >> 10);
    scroller->y = y0 + (sine_at(wrap_add(wrap_mul(13, t), 3 * k)) >> 10);
    lfont_set_colour(demo.small_wire_font,
                     scene_palette_at(int32_t((17u * uint32_t(k) + ut) % kHues)));
    lscrlxyz_draw(scroller);
  }
  scroller->x = x0;
  scroller->y = y0;
  lscrlxyz_scroll(scroller);
}

void vector_scene_draw() {
  vector_scene_paint_bands(demo.clock);
  vector_scene_draw_stars(demo.clock);
  vector_scene_draw_ribbon(demo.clock);
}

void vector_scene_teardown() {
  demo_fade_to_black();
  vector_scene_release();
}
