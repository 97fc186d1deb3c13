// Rain scene: three layers of diagonal streaks in random hues, leaving trails.
#include "scenes/rain_scene.h"

#include <cstdlib>

#include "driver/demo.h"
#include "effects/lrain.h"
#include "image/ident.h"
#include "scenes/scenes.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {
    "RAINSCN ", "20150812", "Kelvardo", "C       ", "CODE    "};

constexpr int32_t kDrops[3] = {256, 128, 64};
constexpr int32_t kSpeed[3] = {1, 2, 4};   // velocity factor over the first layer

}  // namespace

RainScene rain_scene;

void rain_scene_teardown() {
  demo_fade_to_black();
  rain_scene_release();
}

void rain_scene_release() {
  for (LRain*& layer : rain_scene.layer) lrain_free(&layer);
}

void rain_scene_setup() {
  rain_scene_release();
  demo.fade_colour = uint32_t(std::rand() & 31) * 0x010101u + 0x202020u;
  demo.blur_on = false;
  demo.glare_on = false;
  demo.fade_on = true;
  demo.mirror_mode = int8_t(std::rand() % 3);
  scene_set_period(224);

  // The first layer's velocity, below 4 pixels across and at least as much down, doubled;
  // the other layers move in the same direction at two and four times its speed.
  int32_t vx = 0;
  int32_t vy = 0;
  for (int i = 0; i < 3; ++i) {
    LRain* layer = lrain_new();
    rain_scene.layer[i] = layer;
    if (!layer) continue;
    lrain_set_count(layer, kDrops[i]);
    if (i == 0) {
      vx = std::rand() & 0x1FFFF;
      vy = vx + (std::rand() & 0x3FFFF);
      vx *= 2;
      vy *= 2;
    }
    layer->vx = vx * kSpeed[i];
    layer->vy = vy * kSpeed[i];
    layer->colour = scene_palette_pick(std::rand());
  }
}

void rain_scene_draw() {
  for (LRain* layer : rain_scene.layer) {
    if (!layer) continue;
    lrain_update(layer);
    lrain_draw(layer, demo.screen);
  }
  for (LRain* layer : rain_scene.layer) {
    if (!layer || layer->count <= 0) continue;
    lrain_reset_drop(layer, std::rand() % layer->count);
  }
}
