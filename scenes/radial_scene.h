// Radial scene: five LRadial wheels centred on the screen turn at their own random speeds while
// their radii breathe with sine waves of frequencies 3, 5, 7, 11 and 7, leaving rainbow trails.
// The wheels are made at every visit and released at its end.
#pragma once
#include <cstdint>

struct LRadial;

constexpr int32_t radial_wheel_count = 5;
extern const int32_t radial_frequency[5];   // 3, 5, 7, 11, 7

struct RadialScene {
  LRadial* wheel[5];   // null between visits
};

extern RadialScene radial_scene;

void radial_scene_setup();     // settings, music period 224 and five new wheels
void radial_scene_draw();      // radii from the frame clock, spin, 64 spokes, draw wheels 0..4
void radial_scene_teardown();   // fade to black, then release
void radial_scene_release();   // frees the wheels of the visit
