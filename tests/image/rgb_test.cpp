// Colour arithmetic on single pixel words, the integer absolute value, and the sine table.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "image/rgb.h"

namespace {

constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return r << 16 | g << 8 | b; }

TEST(Rgb, AddCapsAndSubFloorsPerChannel) {
  EXPECT_EQ(rgb_add(rgb(200, 100, 0), rgb(100, 100, 255)), rgb(255, 200, 255));
  EXPECT_EQ(rgb_add(rgb(255, 255, 255), rgb(255, 255, 255)), rgb(255, 255, 255));
  EXPECT_EQ(rgb_sub(rgb(10, 200, 50), rgb(20, 100, 50)), rgb(0, 100, 0));
  // The top byte of the arguments is ignored and the result's is 0.
  EXPECT_EQ(rgb_add(0xFF000001u, 0xAB000002u), 3u);
  EXPECT_EQ(rgb_sub(0xFF000005u, 0x01000002u), 3u);
}

TEST(Rgb, GreyLevelsAndSignedShift) {
  EXPECT_EQ(rgb_sub_grey(rgb(120, 90, 200), 100), rgb(20, 0, 100));
  EXPECT_EQ(rgb_add_grey(rgb(120, 90, 200), 100), rgb(220, 190, 255));
  EXPECT_EQ(rgb_add_grey(rgb(1, 2, 3), 0x101), rgb(2, 3, 4));  // level is 8 bits
  const uint32_t c = 0xEE405060u;
  EXPECT_EQ(rgb_shift(c, -256), 0x405060u);
  EXPECT_EQ(rgb_shift(c, 256), 0x405060u);
  EXPECT_EQ(rgb_shift(c, 300), rgb(0x40 + 44, 0x50 + 44, 0x60 + 44));
  EXPECT_EQ(rgb_shift(c, 16), rgb(0x50, 0x60, 0x70));
  EXPECT_EQ(rgb_shift(c, -0x45), rgb(0, 0x0B, 0x1B));
  EXPECT_EQ(rgb_shift(c, INT32_MIN), 0x405060u);  // level (2^31) & 255 = 0
}

TEST(Int, AbsRemovesTheSign) {
  EXPECT_EQ(int_abs(-5), 5);
  EXPECT_EQ(int_abs(0), 0);
  EXPECT_EQ(int_abs(7), 7);
  EXPECT_EQ(int_abs(-INT32_MAX), INT32_MAX);
  EXPECT_EQ(int_abs(INT32_MIN), INT32_MIN);  // wraps as the machine does
}

TEST(Sine, KnownEntriesAndUsage) {
  EXPECT_EQ(sine_mask, 1023);
  EXPECT_EQ(sine_length, 1024);
  EXPECT_EQ(sine_at(0), 0);
  EXPECT_EQ(sine_at(256), 32766);
  EXPECT_EQ(sine_at(512), 0);
  EXPECT_EQ(sine_at(768), -32766);
  EXPECT_EQ(sine_at(0 + 256), 32766);  // cos(0)
  EXPECT_EQ(sine_at(1024), sine_at(0));
  EXPECT_EQ(sine_at(-1), sine_table[1023]);
  const int idx[] = {1, 64, 128, 129, 183, 255, 511, 767, 1023};
  const int16_t val[] = {201, 12539, 23170, 23312, 29535, 32766, 0, -32766, 0};
  for (int n = 0; n < 9; ++n) EXPECT_EQ(sine_table[idx[n]], val[n]) << idx[n];
  // A rotation product in 32 bits shifted right by 15.
  EXPECT_EQ((100 * sine_at(128)) >> 15, 70);
  EXPECT_EQ((100 * sine_at(128 + 512)) >> 15, -71);
}

TEST(Sine, TableIsTheRoundedQuarterWaveMirrored) {
  int16_t q[256];
  for (int k = 0; k < 256; ++k) {
    q[k] = int16_t(std::lround(32767.0 * std::sin(2.0 * M_PI * k / 1024.0)));
  }
  q[129] = 23312;  // the two entries one above the rounded value
  q[183] = 29535;
  int peak = 0;
  for (int k = 0; k < 256; ++k) {
    ASSERT_EQ(sine_table[k], q[k]) << k;
    ASSERT_EQ(sine_table[256 + k], q[255 - k]) << k;
    ASSERT_EQ(sine_table[512 + k], -q[k]) << k;
    ASSERT_EQ(sine_table[768 + k], -q[255 - k]) << k;
  }
  for (int a = 0; a < 1024; ++a) peak = std::max(peak, std::abs(int(sine_table[a])));
  EXPECT_EQ(peak, 32766);
}

}  // namespace
