// SCENES: the play order of the endless sequence and the small helpers the scenes share.
#include "scenes/scenes.h"

#include "audio/music.h"
#include "audio/sample.h"
#include "audio/soundtrack.h"
#include "driver/demo.h"
#include "image/ident.h"
#include "scenes/archpath_scene.h"
#include "scenes/backmove_scene.h"
#include "scenes/bicolour_scene.h"
#include "scenes/chain_scene.h"
#include "scenes/intro.h"
#include "scenes/radial_scene.h"
#include "scenes/rain_scene.h"
#include "scenes/sinescan_scene.h"
#include "scenes/vector_scene.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {
    "SCENES  ", "20150812", "Kelvardo", "C       ", "CODE    "};

}  // namespace

const Scene scene_intro = {"intro", 300, intro_setup, intro_draw, nullptr, nullptr, true};

const Scene scene_sequence[8] = {
    {"vector", 1500, vector_scene_setup, vector_scene_draw, demo_swaying_caption, vector_scene_teardown, false},
    {"archpath", 500, archpath_scene_setup, archpath_scene_draw, demo_swaying_caption, demo_fade_to_black, false},
    {"sinescan", 500, sinescan_scene_setup, sinescan_scene_draw, demo_wobbling_caption, sinescan_scene_teardown,
     false},
    {"bicolour", 750, bicolour_scene_setup, bicolour_scene_draw, demo_swaying_caption, demo_fade_to_black, false},
    {"chain", 750, chain_scene_setup, chain_scene_draw, demo_wobbling_caption, demo_fade_to_black, false},
    {"radial", 750, radial_scene_setup, radial_scene_draw, demo_swaying_caption, radial_scene_teardown, false},
    {"rain", 500, rain_scene_setup, rain_scene_draw, demo_wobbling_caption, rain_scene_teardown, false},
    {"backmove", 750, backmove_scene_setup, backmove_scene_draw, demo_wobbling_caption, backmove_scene_teardown,
     false},
};

uint32_t scene_palette_at(int32_t index) {
  return uint32_t(sample_get(demo.palette, index));
}

uint32_t scene_palette_pick(int32_t r) {
  if (!demo.palette || demo.palette->length <= 0) return 0;
  return uint32_t(sample_get(demo.palette, r % demo.palette->length));
}

void scene_set_period(int32_t frames) {
  if (soundtrack.music) soundtrack.music->period = frames;
}
