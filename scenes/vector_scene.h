// Vector scroller scene: two interfering rasters paint colour bands over the whole screen, 36
// stars circle the centre on three families of curves, and the info text runs through the middle
// in giant wire letters drawn 32 times per frame as a glowing ribbon. The scroller (in demo) is
// made on the first visit and kept; the rasters are made at every visit and released at its end.
#pragma once
#include <cstdint>

struct Raster;

constexpr int32_t vector_ramp_length = 3072;

struct VectorScene {
  uint32_t ramp[3072];   // six black-to-full-to-black triangles of 512: red, yellow, green, cyan, blue, magenta
  Raster* raster[2];     // W and H entries; null between visits
};

extern VectorScene vector_scene;

void vector_scene_setup();      // settings, scale 8, scroller, colour, ramp, rasters, period 160
void vector_scene_draw();       // bands, stars and ribbon at the frame clock
void vector_scene_teardown();   // fade to black, then release
void vector_scene_release();    // small wire font back to scale 1; frees the rasters

// The steps of one frame at clock t.
void vector_scene_paint_bands(int32_t t);   // fills both rasters, paints and blends them
void vector_scene_draw_stars(int32_t t);    // three passes of the twelve star glyphs
void vector_scene_draw_ribbon(int32_t t);   // 32 shifted, recoloured copies, then one scroll
