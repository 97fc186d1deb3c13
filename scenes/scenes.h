// SCENES: the intro and the eight scenes of the endless sequence, and the table the driver plays.
// main runs intro_run once, then scene_sequence[0..7] in order forever. Every run names itself to
// the platform (platform_scene_begin) first, sets itself up, plays its frames and tidies up.
#pragma once
#include <cstdint>

using SceneRun = void (*)();

struct SceneEntry {
  const char* name;   // "vector", "archpath", ... as told to platform_scene_begin
  SceneRun run;
};

// The eight scenes in play order: vector, archpath, sinescan, bicolour, chain, radial, rain, backmove.
extern const SceneEntry scene_sequence[8];

void intro_run();
void vector_scene_run();
void archpath_scene_run();
void sinescan_scene_run();
void bicolour_scene_run();
void chain_scene_run();
void radial_scene_run();
void rain_scene_run();
void backmove_scene_run();

// Helpers shared by the scenes.
// Entry `index` of the hue wheel demo.palette (0 outside it or without a palette).
uint32_t scene_palette_at(int32_t index);
// Entry (r mod length) of the hue wheel: a random hue for a fresh non-negative r; 0 without palette.
uint32_t scene_palette_pick(int32_t r);
// Frames between two music patterns, for the running soundtrack (ignored without music).
void scene_set_period(int32_t frames);
