// RGB888 colour arithmetic on single pixel words, the hue wheel, INT absolute value, and the
// shared sine table.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "image/fixed.h"

uint32_t rgb_add(uint32_t a, uint32_t b);              // per channel, capped at 255
uint32_t rgb_sub(uint32_t a, uint32_t b);              // per channel, floored at 0
uint32_t rgb_add_grey(uint32_t c, uint32_t level);     // level & 255 in every channel
uint32_t rgb_sub_grey(uint32_t c, uint32_t level);
uint32_t rgb_shift(uint32_t c, int32_t amount);        // >= 0 adds grey, < 0 subtracts grey
int32_t int_abs(int32_t v);                            // wraps for INT32_MIN like the machine

// The hue wheel: 1536 colours, green, cyan, blue, magenta, red, yellow and back towards green,
// 256 steps between each pair. index: 0 .. 1535 (others give 0).
constexpr int32_t hue_length = 1536;
uint32_t rgb_hue(int32_t index);

// One turn of the sine table: sine_length entries, peak 32766. sin(a) = sine_table[a & sine_mask],
// cos(a) = sine_table[(a + sine_length / 4) & sine_mask]; products are shifted right by 15.
constexpr int32_t sine_length = 1024;
constexpr int32_t sine_mask = sine_length - 1;
// One turn as a 16.16 phase: the table index is phase >> FIX_SHIFT after masking with this.
constexpr int32_t sine_phase_mask = (sine_length << FIX_SHIFT) - 1;

namespace sine_detail {

// sin(x) for 0 <= x < pi / 2 by its Taylor series, summed until the terms vanish in double
// precision (|error| < 1e-15): the library sine cannot be folded at compile time by every compiler.
constexpr double series_sin(double x) {
  double term = x, sum = x;
  for (int n = 1; n < 30; ++n) {
    term = -term * x * x / double((2 * n) * (2 * n + 1));
    sum += term;
  }
  return sum;
}

// Quarter wave: 32767 * sin(2 pi k / 1024) rounded to nearest. Two entries whose exact value lies
// just below .5 (129: 23311.4988, 183: 29534.4977) are one higher, as in the table this system has
// always used. The whole turn follows by symmetry.
constexpr std::array<int16_t, sine_length> make_table() {
  constexpr int32_t quarter = sine_length / 4;
  std::array<int16_t, quarter> q{};
  for (int32_t k = 0; k < quarter; ++k) {
    const double v = 32767.0 * series_sin(2.0 * 3.14159265358979323846 * k / double(sine_length));
    q[std::size_t(k)] = int16_t(v + 0.5);  // v >= 0 in the first quarter
  }
  q[129] = 23312;
  q[183] = 29535;
  std::array<int16_t, sine_length> t{};
  for (std::size_t k = 0; k < std::size_t(quarter); ++k) {
    t[k] = q[k];
    t[quarter + k] = q[quarter - 1 - k];
    t[2 * quarter + k] = int16_t(-q[k]);
    t[3 * quarter + k] = int16_t(-q[quarter - 1 - k]);
  }
  return t;
}

}  // namespace sine_detail

// Built by the compiler.
inline constexpr std::array<int16_t, sine_length> sine_table = sine_detail::make_table();
inline int32_t sine_at(int32_t a) { return sine_table[std::size_t(a & sine_mask)]; }
