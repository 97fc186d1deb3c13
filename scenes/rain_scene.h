// Rain scene: three LRain layers of 256, 128 and 64 drops, the sparser ones two and four times
// as fast as the densest, each in one random hue, falling with trails under a random mirror.
// The layers are made at every visit and released at its end.
#pragma once

struct LRain;

struct RainScene {
  LRain* layer[3];   // 256, 128 and 64 drops; null between visits
};

extern RainScene rain_scene;

void rain_scene_setup();     // settings, music period and three new layers (old ones released)
void rain_scene_draw();      // one frame: move and draw every layer, then reseed one drop each
void rain_scene_teardown();   // fade to black, then release
void rain_scene_release();   // frees the layers of the visit
