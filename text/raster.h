// RASTER: a table of colours, one per picture row, that paints an image row by row, either
// opaquely or blended into what is there. Users fill `colours` directly.
#pragma once
#include <cstdint>

struct Image;

struct Raster {
  int32_t position;   // 16.16: row i takes entry ((position >> 16) + i) mod count; 0
  int32_t count;      // entries in colours
  uint32_t* colours;  // owned, count words 0x00RRGGBB
};

Raster* raster_new();                           // 256 entries, all 0; null on failure
void raster_free(Raster** raster);              // frees table and record; nulls the pointer
void raster_resize(Raster* raster, int32_t count);  // new zeroed table (count >= 0), position 0
void raster_draw_rows(const Raster* raster, Image* image);  // fills every row with its entry
// Mixes each row's entry in: pixel = (old * (256 - weight) + entry * weight) / 256 per channel.
void raster_blend_rows(const Raster* raster, Image* image, int32_t weight);  // weight 0..256
