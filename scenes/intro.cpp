// Intro: the bouncing logo over a random background.
#include "scenes/intro.h"

#include <cstdlib>

#include "driver/demo.h"
#include "image/ident.h"
#include "image/img.h"
#include "image/rgb.h"
#include "scenes/scenes.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {
    "INTRO   ", "20150812", "Kelvardo", "C       ", "CODE    "};

}  // namespace

IntroScene intro_scene;

void intro_setup() {
  demo.fade_colour = 0x707070;
  demo.mirror_mode = 0;
  scene_set_period(160);
  demo.background = rgb_sub_grey(scene_palette_pick(int32_t(random())), 100);
  intro_scene.variant = int32_t(random() % 4);
  intro_scene.frame = 0;
}

int32_t intro_logo_row(int32_t variant, int32_t i) {
  // Only the first half of the table (never negative) is used, so the motion is a bounce.
  const int32_t e = sine_length / 4;
  const int32_t half = sine_mask >> 1;
  switch (variant) {
    case 0: return 192 - (sine_table[(2 * i + e) & half] >> 7) + i;
    case 1: return 192 - (sine_table[(3 * i + e) & half] >> 7) + i;
    case 2: return 192 - (sine_table[(4 * i + e) & half] >> 7) + 2 * i;
    case 3: return 64 - (sine_table[(2 * i + e) & half] >> 8) + i;
    default: return 0;
  }
}

void intro_draw() {
  const int32_t i = intro_scene.frame++;
  const Image* logo = demo.logo;
  if (!img_valid(logo)) return;
  img_blit_keyed(logo, demo.screen, 0, 0, 0, intro_logo_row(intro_scene.variant, i), logo->width,
                 logo->height);
}
