// SINESCAN: one screen row coloured by the sum of three moving sine waves. The scan owns its
// per-column wave values and, optionally, a 2048-entry colour ramp; without a ramp it brightens
// and darkens its tint. Per frame: sinescan_update, then sinescan_draw.
#pragma once
#include <cstdint>

struct Image;
struct Sample;

// One wave, all 16.16 over the 1024-entry sine table: phase in 0..0x3FFFFFF, speed per frame,
// step per pixel, amplitude (its integer part multiplies the table entry).
struct SineWave {
  int32_t phase, speed, step, amplitude;
};

struct SineScan {
  int32_t x;                      // always 0; unused
  int32_t y;                      // target row drawn
  int32_t z;                      // unused
  int32_t width;                  // columns evaluated and drawn from column 0; length of scan
  int32_t height;                 // range of the random row
  int32_t depth;                  // unused
  SineWave waves[3];
  Sample* scan;                   // owned, one wave sum per column
  uint32_t tint;                  // 0x00RRGGBB, used when colour_ramp is null
  Sample* colour_ramp;            // owned 2048 colours (black, blue, cyan, white), or null
};

SineScan* sinescan_new();                      // randomised scan with ramp; null on failure
void sinescan_free(SineScan** scan);           // frees samples and record, nulls the pointer
void sinescan_randomize(SineScan* scan);       // row, phases, speeds, steps, tint; builds samples
void sinescan_update(SineScan* scan);          // evaluates every column, advances the phases
// Draws row y from column 0. The divisor D = (sum of amplitudes) >> 15 is taken as 1 when it
// comes out 0; ramp indices outside the ramp give black.
void sinescan_draw(SineScan* scan, Image* target);
