// SCENES: the one table of the show's scenes. The driver plays scene_intro once, then
// scene_sequence[0..7] in order forever (demo_play); the recorder lists the table's names and
// frame limits for the tools and tests that need them.
#pragma once
#include <cstdint>

using SceneStep = void (*)();

struct Scene {
  const char* name;        // "intro", "vector", ... as told to platform_scene_begin
  int32_t frames;          // frames of one visit at most (SPACE ends it after the current one)
  SceneStep setup;         // settings, music period, the visit's objects; before the fade-in
  SceneStep draw;          // one frame's picture
  SceneStep caption;       // over the picture, after the rate display; null: none
  SceneStep teardown;      // after the last frame: fade-out and release; null: the frame stays
  bool draw_after_rate;    // the picture goes over the rate display instead of under it
};

// The intro, played once before the sequence.
extern const Scene scene_intro;
// The eight scenes in play order: vector, archpath, sinescan, bicolour, chain, radial, rain, backmove.
extern const Scene scene_sequence[8];

// Helpers shared by the scenes.
// Entry `index` of the hue wheel demo.palette (0 outside it or without a palette).
uint32_t scene_palette_at(int32_t index);
// Entry (r mod length) of the hue wheel: a random hue for a fresh non-negative r; 0 without palette.
uint32_t scene_palette_pick(int32_t r);
// Frames between two music patterns, for the running soundtrack (ignored without music).
void scene_set_period(int32_t frames);
