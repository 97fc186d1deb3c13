// LRAIN: a field of rain drops sharing one velocity over a wrapping area the size of the target.
// Each drop is drawn as a streak from its head back along twice the velocity. The owner sets
// vx, vy and colour directly, then calls lrain_update and lrain_draw once per frame.
#pragma once
#include <cstdint>

struct Image;

struct LRain {
  int32_t x, y, z;                // position; unused
  int32_t width, height, depth;   // wrapping area, copied from the target at every drawing
  int32_t vx, vy;                 // velocity of every drop, 16.16 pixels per update
  uint32_t colour;                // 0x00RRGGBB of every streak
  int32_t count;                  // number of drops
  int32_t* drops;                 // owned, count pairs (X, Y) of 16.16 head positions, or null
};

LRain* lrain_new();                         // 16 drops falling one pixel per update; null on failure
void lrain_free(LRain** rain);              // frees the drops and the record, nulls the pointer
void lrain_set_count(LRain* rain, int32_t n);  // n >= 1 new drops at random places (rand per axis)
void lrain_reset(LRain* rain);              // every drop to a random place, last drop first
void lrain_reset_drop(LRain* rain, int32_t i);  // 0 <= i < count; draws X then Y
void lrain_update(LRain* rain);             // moves every drop and wraps it at the area's edges
void lrain_draw(LRain* rain, Image* target);  // one clipped line per drop, last drop first
