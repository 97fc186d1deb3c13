// Bicolour lines scene: a sweeping ribbon of two-colour lines.
#include "scenes/bicolour_scene.h"

#include <cstdlib>

#include "driver/demo.h"
#include "image/ident.h"
#include "image/imgfx.h"
#include "image/img.h"
#include "image/rgb.h"
#include "scenes/scenes.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {
    "BICOLOUR", "20150812", "Kelvardo", "C       ", "CODE    "};

constexpr int32_t kHues = 1536;

}  // namespace

BicolourScene bicolour_scene;

void bicolour_scene_setup() {
  demo.fade_colour = uint32_t(std::rand() & 31) * 0x010101u + 0x101010u;
  demo.blur_on = false;
  demo.glare_on = false;
  demo.fade_on = true;
  demo.mirror_mode = int8_t(std::rand() % 3);
  scene_set_period(224);
  BicolourScene& s = bicolour_scene;
  for (int i = 0; i < 4; ++i) {
    s.line_phase[i] = std::rand() & sine_mask;
    s.frame_speed[i] = (std::rand() & 7) + 1;
    s.line_speed[i] = (std::rand() & 7) + 1;
  }
  s.line_count = (std::rand() & 255) + 64;
}

void bicolour_scene_draw() {
  Image* screen = demo.screen;
  if (!img_valid(screen)) return;
  BicolourScene& s = bicolour_scene;
  const int32_t cx = screen->width / 2;
  const int32_t cy = screen->height / 2;
  const uint32_t t = uint32_t(demo.clock);
  int32_t a[4];
  for (int i = 0; i < 4; ++i) a[i] = s.line_phase[i];
  for (int32_t n = s.line_count; n >= 0; --n) {
    const uint32_t hue = 8u * uint32_t(n) + t;
    const uint32_t c0 = scene_palette_at(int32_t(hue % kHues));
    const uint32_t c1 = scene_palette_at(int32_t((hue + 512u) % kHues));
    imgfx_line_bicolor(screen, (sine_at(a[0]) >> 8) + cx, (sine_at(a[1]) >> 8) + cy, c0,
                       (sine_at(a[2]) >> 8) + cx, (sine_at(a[3]) >> 8) + cy, c1);
    for (int i = 0; i < 4; ++i) a[i] = (a[i] + s.line_speed[i]) & sine_mask;
  }
  for (int i = 0; i < 4; ++i) s.line_phase[i] = (s.line_phase[i] + s.frame_speed[i]) & sine_mask;
}
