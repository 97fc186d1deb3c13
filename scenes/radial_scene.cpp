// Radial scene: five turning, breathing rainbow wheels.
#include "scenes/radial_scene.h"

#include <cstdlib>

#include "driver/demo.h"
#include "effects/lradial.h"
#include "image/ident.h"
#include "image/rgb.h"
#include "scenes/scenes.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {
    "RADIALSC", "20150812", "Kelvardo", "C       ", "CODE    "};

constexpr int32_t kSpokes = 64;

}  // namespace

const int32_t radial_frequency[5] = {3, 5, 7, 11, 7};

RadialScene radial_scene;

void radial_scene_teardown() {
  demo_fade_to_black();
  radial_scene_release();
}

void radial_scene_release() {
  for (LRadial*& wheel : radial_scene.wheel) {
    if (wheel) lradial_free(&wheel);
  }
}

void radial_scene_setup() {
  radial_scene_release();
  demo.fade_colour = uint32_t(std::rand() & 31) * 0x010101u + 0x101010u;
  demo.blur_on = false;
  demo.glare_on = false;
  demo.fade_on = true;
  demo.mirror_mode = 0;
  scene_set_period(224);
  for (LRadial*& wheel : radial_scene.wheel) wheel = lradial_new();
}

void radial_scene_draw() {
  // The index is a remainder by 1023, not a mask; the radius swings within 0..127.
  const uint32_t f = uint32_t(demo.clock);
  for (int i = 0; i < radial_wheel_count; ++i) {
    if (LRadial* wheel = radial_scene.wheel[i]) {
      const uint32_t index = (uint32_t(radial_frequency[i]) * f) % 1023u;
      wheel->radius = (sine_table[index] >> 9) + 64;
    }
  }
  for (LRadial* wheel : radial_scene.wheel) {
    if (wheel) lradial_spin(wheel);
  }
  for (LRadial* wheel : radial_scene.wheel) {
    if (wheel) lradial_set_count(wheel, kSpokes);
  }
  for (LRadial* wheel : radial_scene.wheel) {
    if (wheel) lradial_draw_rainbow(wheel, demo.screen);
  }
}
