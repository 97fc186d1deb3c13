// SAMPLE: growable array of signed 32-bit values: mono audio at 44100 per second, and plain
// integer tables (palette, wave values). Users may read `length` and read/write data[0..length-1].
#pragma once
#include <cstdint>

struct Sample {
  int32_t length;     // elements in use
  int32_t capacity;   // allocated elements
  int32_t* data;      // owned, or null when capacity is 0
};

Sample* sample_new();                                   // length 0, capacity 32
void sample_free(Sample** s);
void sample_reserve(Sample* s, int32_t n);
void sample_set_length(Sample* s, int32_t n);
Sample* sample_clone(const Sample* s);
int32_t sample_get(const Sample* s, int32_t index);     // 0 outside
void sample_set(Sample* s, int32_t index, int32_t value);
void sample_clear(Sample* s);
void sample_mul(Sample* s, int32_t k);                  // wrapping product
void sample_div(Sample* s, int32_t k);                  // truncating, k != 0
void sample_shr(Sample* s, int32_t shift);              // arithmetic, shift mod 32, > 32 refused
void sample_add(Sample* dst, const Sample* src);        // dst += src over the common prefix
void sample_mul_sample(Sample* dst, const Sample* src);
void sample_add_scaled(Sample* dst, const Sample* src, int32_t factor);  // 16.16 factor
void sample_rotate(Sample* s, int32_t r);               // towards higher indices
void sample_ramp(Sample* s, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
void sample_copy_range(const Sample* src, Sample* dst, int32_t n, int32_t a, int32_t b);
