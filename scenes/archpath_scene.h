// Arch-path scene: a few hundred ArchPath walkers wander over the wrapping screen along chains
// of arcs and leave trails. Each visit picks one of four renderers, one of four step rules,
// lock-step or free motion, the fade strength and the mirror. The walkers are made on the first
// visit and kept for the life of the process.
#pragma once
#include <cstdint>

struct ArchPath;
struct List;

using ArchPathRender = void (*)();            // one frame of all treated walkers onto the screen
using ArchPathStep = void (*)(ArchPath* walker);

// 0 dots, 1 streaks, 2 sprites, 3 glows.
extern const ArchPathRender archpath_renderers[4];
constexpr int32_t archpath_renderer_count = 4;
// 0 swing, 1 wander, 2 bounce, 3 drift.
extern const ArchPathStep archpath_steps[4];
constexpr int32_t archpath_step_count = 4;

struct ArchPathScene {
  List* walkers;             // ArchPath records; null until the first visit, then kept
  ArchPathRender renderer;   // chosen for the current visit
  ArchPathStep step;         // chosen for the current visit
};

extern ArchPathScene archpath_scene;

void archpath_scene_draw();    // one frame of the visit's renderer
void archpath_scene_setup();   // settings; walkers on the first visit; motion, renderer, step rule
// The renderers treat walkers m-1 down to 0, m = n/4 while the fade is on (always for streaks),
// else all n.
void archpath_render_dots();      // 16 x (step, dot) per walker
void archpath_render_streaks();   // 16 x (step, radial streak) per walker
void archpath_render_sprites();   // 16 x (step, sprayed sprite) per walker
void archpath_render_glows();     // black background; 8 steps, then one additive glow per walker
