// ARCHPATH: a walker on a wrapping 256 x 256 plane that turns about the centre (x, y) of its
// current circle and, after `duration` steps, moves on to a new circle through the point where
// it stands. Drawn as a dot, a sprayed sprite or an added glow, each wrapped at the edges.
#pragma once
#include <cstdint>

struct Image;

struct ArchPath {
  int32_t x, y, z;                // centre of the current circle, in [0, width) x [0, height)
  int32_t width, height, depth;   // wrap size of the plane
  int32_t angle;                  // table angle 0..1023 of the walker on its circle
  int32_t step;                   // signed angle increment per step, magnitude 1..4
  int32_t radius;                 // radius of the current circle in pixels
  int32_t duration;               // steps to spend on the current circle
  int32_t counter;                // steps taken on the current circle
  uint32_t colour;                // 0x00RRGGBB of the dot
  Image* sprite;                  // owned 16 x 16, sprayed
  Image* glow;                    // owned 16 x 16, added
};

ArchPath* archpath_new();                        // randomised walker with black images; null on failure
void archpath_free(ArchPath** walker);           // frees both images and the record
void archpath_randomize(ArchPath* walker);       // centre, angle, step, duration, radius, colour
// The four step rules share one shape so callers can keep them in a table.
void archpath_step_swing(ArchPath* walker);      // same radius, step reversed: S-bends
void archpath_step_wander(ArchPath* walker);     // radius 16..47, step reversed
void archpath_step_bounce(ArchPath* walker);     // radius 8..23, step kept: cusps
void archpath_step_drift(ArchPath* walker);      // radius 8..23, long arcs, step reversed
void archpath_draw_dot(ArchPath* walker, Image* target);     // one pixel at the wrapped arc point
void archpath_draw_sprite(ArchPath* walker, Image* target);  // 18 random sprite pixels per copy
void archpath_draw_glow(ArchPath* walker, Image* target);    // glow added, saturating per channel
