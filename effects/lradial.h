// LRADIAL: a turning wheel of spokes from one centre, each a line dithered from one hue at the
// centre to a hue an eighth of the wheel further on at the tip. All wheels share one hue palette
// of 1536 colours, built by the first lradial_new and kept for the life of the process.
#pragma once
#include <cstdint>

struct Image;
struct Sample;

struct LRadial {
  int32_t x, y, z;                // centre (x, y); z unused
  int32_t width, height, depth;   // extent used to place the centre and pick the radius
  int32_t count;                  // spokes, at least 1
  int32_t angle;                  // 16.16 table angle of the first spoke, 0..0x3FFFFFF
  int32_t spin;                   // 16.16 angle added by lradial_spin
  int32_t spacing;                // 16.16 angle between spokes: (1024 << 16) / count
  int32_t radius;                 // spoke length in pixels
};

LRadial* lradial_new();                          // centred, random spin then radius, 16 spokes
void lradial_free(LRadial** wheel);              // frees the record (never the shared palette)
void lradial_set_count(LRadial* wheel, int32_t n);  // n >= 1; also sets spacing
void lradial_spin(LRadial* wheel);               // angle = (angle + spin) & 0x3FFFFFF
// Spokes count..1, the first in green; a count below 1 (written directly) draws nothing.
void lradial_draw_rainbow(LRadial* wheel, Image* target);
const Sample* lradial_palette();                 // the shared hue palette, or null before any wheel
