// Back-move scene: overlapping moving wallpapers of balls and stars on white.
#include "scenes/backmove_scene.h"

#include <cstdlib>

#include "audio/list.h"
#include "driver/demo.h"
#include "effects/backmove.h"
#include "image/ident.h"
#include "image/img.h"
#include "scenes/scenes.h"
#include "text/font.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {
    "BACKSCN ", "20150812", "Kelvardo", "C       ", "CODE    "};

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr int32_t kTile = 16;

BackMove* layer_at(int32_t i) {
  return static_cast<BackMove*>(list_get(backmove_scene.layers, i));
}

const Image* sheet_of(const Font* font) { return font ? font->sheet : nullptr; }

}  // namespace

BackMoveScene backmove_scene;

void backmove_scene_setup() {
  backmove_scene_release();
  demo.fade_colour = uint32_t(std::rand() & 31) * 0x010101u + 0x101010u;
  demo.blur_on = false;
  demo.glare_on = false;
  demo.fade_on = false;
  demo.background = kWhite;
  demo.mirror_mode = int8_t(std::rand() % 3);
  scene_set_period(224);
  backmove_scene.layers = list_new();
  if (!backmove_scene.layers) return;
  // A fresh random number at every test: the first 16 tests pass, so 16 to 31 layers.
  for (int32_t k = 0; k < (std::rand() & 15) + 16; ++k) {
    BackMove* layer = backmove_new();
    if (!layer) continue;   // counted as made, so a lasting failure cannot loop for ever
    layer->target = demo.screen;
    layer->tile = img_new();
    layer->cell_width = (std::rand() & 31) + 32;
    layer->cell_height = (std::rand() & 31) + 32;
    layer->offset_x = std::rand() % layer->cell_width;
    layer->offset_y = std::rand() % layer->cell_height;
    img_resize(layer->tile, kTile, kTile);
    const bool star = (std::rand() & 1) == 0;
    const int32_t t = 1 + std::rand() % 11;
    img_blit(sheet_of(star ? demo.star_font : demo.ball_font), layer->tile, 0, kTile * t, 0, 0,
             kTile, kTile);
    list_push(backmove_scene.layers, layer);
  }
}

void backmove_scene_draw() {
  // Runs right after the frame's clearing: a key press of F or W changes one frame at most.
  demo.fade_on = false;
  demo.background = kWhite;
  if (!backmove_scene.layers) return;
  for (int32_t i = 0; i < backmove_scene.layers->count; ++i) {
    BackMove* layer = layer_at(i);
    if (!layer) continue;
    backmove_move(layer);
    backmove_draw(layer);
  }
}

void backmove_scene_release() {
  if (!backmove_scene.layers) return;
  for (int32_t i = 0; i < backmove_scene.layers->count; ++i) {
    BackMove* layer = layer_at(i);
    if (!layer) continue;
    img_free(&layer->tile);
    backmove_free(&layer);
  }
  list_free(&backmove_scene.layers);
}

void backmove_scene_teardown() {
  demo_fade_to_black();
  backmove_scene_release();
}
