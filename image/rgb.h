// RGB888 colour arithmetic on single pixel words, INT absolute value, and the shared sine table.
#pragma once
#include <cstdint>

uint32_t rgb_add(uint32_t a, uint32_t b);              // per channel, capped at 255
uint32_t rgb_sub(uint32_t a, uint32_t b);              // per channel, floored at 0
uint32_t rgb_add_grey(uint32_t c, uint32_t level);     // level & 255 in every channel
uint32_t rgb_sub_grey(uint32_t c, uint32_t level);
uint32_t rgb_shift(uint32_t c, int32_t amount);        // >= 0 adds grey, < 0 subtracts grey
int32_t int_abs(int32_t v);                            // wraps for INT32_MIN like the machine

// 1024 entries for one turn, peak 32766. sin(a) = sine_table[a & sine_mask],
// cos(a) = sine_table[(a + 256) & sine_mask]; products are shifted right by 15.
extern const int16_t sine_table[1024];
extern const int32_t sine_mask;     // 1023
extern const int32_t sine_length;   // 1024
inline int32_t sine_at(int32_t a) { return sine_table[a & 1023]; }
