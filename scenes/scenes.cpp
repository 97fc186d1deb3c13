// SCENES: the play order of the endless sequence and the small helpers the scenes share.
#include "scenes/scenes.h"

#include "audio/music.h"
#include "audio/sample.h"
#include "audio/soundtrack.h"
#include "driver/demo.h"
#include "image/ident.h"

namespace {

[[maybe_unused]] constexpr Identity kIdentity = {
    "SCENES  ", "20150812", "Kelvardo", "C       ", "CODE    "};

}  // namespace

const SceneEntry scene_sequence[8] = {
    {"vector", vector_scene_run},     {"archpath", archpath_scene_run},
    {"sinescan", sinescan_scene_run}, {"bicolour", bicolour_scene_run},
    {"chain", chain_scene_run},       {"radial", radial_scene_run},
    {"rain", rain_scene_run},         {"backmove", backmove_scene_run},
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
