// Sine-wave rows: random draw order, ramp content, wave sums, phase wrap, ramp and tint mapping.
#include "effects/sinescan.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "audio/sample.h"
#include "image/img.h"
#include "image_helpers.h"
#include "image/rgb.h"

namespace {

struct ScanDeleter {
  void operator()(SineScan* s) const { sinescan_free(&s); }
};
using ScanPtr = std::unique_ptr<SineScan, ScanDeleter>;

constexpr int32_t kMaxSum = 3 * 32766 * 256;  // 25164288

class SineScanTest : public testing::Test {
 protected:
  void SetUp() override {
    std::srand(4242);
    scan.reset(sinescan_new());
    ASSERT_TRUE(scan);
    ASSERT_TRUE(scan->scan);
    ASSERT_TRUE(scan->colour_ramp);
  }
  // Puts `v` into every column.
  void fill_values(int32_t v) {
    for (int32_t i = 0; i < scan->scan->length; ++i) scan->scan->data[i] = v;
  }
  // Replaces the ramp by markers index + 1 so that a drawn colour names its ramp index.
  void mark_ramp() {
    for (int32_t i = 0; i < scan->colour_ramp->length; ++i) scan->colour_ramp->data[i] = i + 1;
  }
  ScanPtr scan;
};

TEST_F(SineScanTest, NewDrawsRowWavesAndTintInOrder) {
  EXPECT_EQ(scan->x, 0);
  EXPECT_EQ(scan->z, 0);
  EXPECT_EQ(scan->width, 256);
  EXPECT_EQ(scan->height, 256);
  EXPECT_EQ(scan->depth, 256);
  EXPECT_EQ(scan->scan->length, 256);
  EXPECT_EQ(scan->colour_ramp->length, 2048);

  std::srand(4242);
  EXPECT_EQ(scan->y, std::rand() % 256);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(scan->waves[k].phase, std::rand() & 0x3FFFFFF) << k;
    EXPECT_EQ(scan->waves[k].speed, (std::rand() & 0x1FFFFF) - 0xF0000) << k;
    EXPECT_EQ(scan->waves[k].step, (std::rand() & 0x1FFFFF) - 0xF0000) << k;
    EXPECT_EQ(scan->waves[k].amplitude, 0x1000000) << k;
  }
  EXPECT_EQ(scan->tint, uint32_t(std::rand()) & 0xFFFFFF);
  const int next = std::rand();
  std::srand(4242);
  for (int i = 0; i < 11; ++i) std::rand();
  EXPECT_EQ(next, std::rand()) << "eleven draws: row, three per wave, tint";
}

TEST_F(SineScanTest, RandomizeRebuildsMissingSamplesAtTheCurrentWidth) {
  sample_free(&scan->colour_ramp);
  sample_free(&scan->scan);
  scan->width = 100;
  scan->height = 10;
  sinescan_randomize(scan.get());
  ASSERT_TRUE(scan->colour_ramp);
  ASSERT_TRUE(scan->scan);
  EXPECT_EQ(scan->scan->length, 100);
  EXPECT_EQ(scan->colour_ramp->length, 2048);
  EXPECT_EQ(sample_get(scan->colour_ramp, 1300), 20 * 256 + 255);
  EXPECT_LT(scan->y, 10);
  // An existing ramp of another length is brought back to the full ramp.
  sample_set_length(scan->colour_ramp, 10);
  sinescan_randomize(scan.get());
  EXPECT_EQ(scan->colour_ramp->length, 2048);
  EXPECT_EQ(sample_get(scan->colour_ramp, 2047), 0xFFFFFF);
  // Only the first 100 columns are evaluated and drawn.
  fill_values(kMaxSum);
  ImagePtr img = screen();
  scan->y = 2;
  sinescan_draw(scan.get(), img.get());
  EXPECT_EQ(img_get_pixel(img.get(), 99, 2), 0xFFFFFFu);
  EXPECT_EQ(img_get_pixel(img.get(), 100, 2), 0u);
}

TEST_F(SineScanTest, RampRunsBlackBlueCyanWhite) {
  const struct {
    int32_t index;
    int32_t colour;
  } cases[] = {{0, 0},          {1023, 0},          {1024, 0},      {1025, 1},
               {1279, 255},     {1280, 255},        {1281, 0x1FF},  {1535, 0xFFFF},
               {1536, 0xFFFF},  {1537, 0x1FFFF},    {1791, 0xFFFFFF}, {1792, 0xFFFFFF},
               {2047, 0xFFFFFF}};
  for (const auto& c : cases)
    EXPECT_EQ(sample_get(scan->colour_ramp, c.index), c.colour) << "index " << c.index;
}

// Column values computed straight from the wave formula, in 64-bit and then truncated.
int32_t reference_value(const SineWave* w, int32_t column) {
  int64_t sum = 0;
  for (int k = 0; k < 3; ++k) {
    const uint32_t h = (uint32_t(w[k].phase) + uint32_t(w[k].step) * uint32_t(column)) & 0x3FFFFFF;
    sum += int64_t(sine_table[h >> 16]) * (w[k].amplitude >> 16);
  }
  return int32_t(uint32_t(uint64_t(sum)));
}

TEST_F(SineScanTest, UpdateEvaluatesEveryColumnThenAdvancesPhases) {
  SineWave before[3];
  for (int k = 0; k < 3; ++k) before[k] = scan->waves[k];
  sinescan_update(scan.get());
  for (int32_t i = 0; i < 256; ++i)
    ASSERT_EQ(scan->scan->data[i], reference_value(before, i)) << "column " << i;
  for (int k = 0; k < 3; ++k)
    EXPECT_EQ(scan->waves[k].phase, (before[k].phase + before[k].speed) & 0x3FFFFFF) << k;
}

TEST_F(SineScanTest, PhaseWrapsModuloOneTurn) {
  scan->waves[0].phase = 0x3FFFFFF;
  scan->waves[0].speed = 0x10000;
  scan->waves[1].phase = 0;
  scan->waves[1].speed = -0x10000;
  scan->waves[2].phase = 0x20000;
  scan->waves[2].speed = -0xF0000;
  sinescan_update(scan.get());
  EXPECT_EQ(scan->waves[0].phase, 0xFFFF);
  EXPECT_EQ(scan->waves[1].phase, 0x3FF0000);
  EXPECT_EQ(scan->waves[2].phase, 0x3F30000);
}

TEST_F(SineScanTest, ZeroStepsGiveOneValueAcrossTheRow) {
  for (SineWave& w : scan->waves) w.step = 0;
  sinescan_update(scan.get());
  const int32_t first = scan->scan->data[0];
  for (int32_t i = 1; i < 256; ++i) ASSERT_EQ(scan->scan->data[i], first) << i;
  ImagePtr img = screen();
  scan->y = 40;
  sinescan_draw(scan.get(), img.get());
  const uint32_t c = img_get_pixel(img.get(), 0, 40);
  for (int32_t i = 1; i < 256; ++i) ASSERT_EQ(img_get_pixel(img.get(), i, 40), c) << i;
}

TEST_F(SineScanTest, SumsMapToRampIndices) {
  const struct {
    int32_t sum;
    int32_t index;
  } cases[] = {
      {-kMaxSum, 0},        {kMaxSum, 2047},      {0, 1024},           {-1, 1024},
      {1535, 1024},         {-1536 * 16, 1023},   {1536 * 16 * 5, 1029}, {-1536, 1023},
      {1536 * 16 * 512, 1536},
  };
  mark_ramp();
  ImagePtr img = screen();
  scan->y = 7;
  for (const auto& c : cases) {
    fill_values(c.sum);
    sinescan_draw(scan.get(), img.get());
    EXPECT_EQ(img_get_pixel(img.get(), 0, 7), uint32_t(c.index + 1)) << "sum " << c.sum;
    EXPECT_EQ(img_get_pixel(img.get(), 255, 7), uint32_t(c.index + 1)) << "sum " << c.sum;
  }
  EXPECT_EQ(img_get_pixel(img.get(), 0, 6), 0u);
  EXPECT_EQ(img_get_pixel(img.get(), 0, 8), 0u);
}

TEST_F(SineScanTest, RealRampColoursTheExtremes) {
  ImagePtr img = screen();
  scan->y = 0;
  fill_values(kMaxSum);
  sinescan_draw(scan.get(), img.get());
  EXPECT_EQ(img_get_pixel(img.get(), 100, 0), 0xFFFFFFu);
  fill_values(-kMaxSum);
  sinescan_draw(scan.get(), img.get());
  EXPECT_EQ(img_get_pixel(img.get(), 100, 0), 0u);
}

TEST_F(SineScanTest, TintedDrawingShiftsTheTint) {
  const struct {
    uint32_t tint;
    int32_t sum;
    uint32_t colour;
  } cases[] = {
      {0x102030, 0, 0x102030},        {0x102030, kMaxSum, 0x8F9FAF},
      {0xC0C0C0, -kMaxSum, 0x404040}, {0x102030, -1, 0x102030},
      {0x102030, -1536, 0x0F1F2F},    {0xF0F0F0, kMaxSum, 0xFFFFFF},
      {0x102030, 1536 * 128, 0x112131},
  };
  sample_free(&scan->colour_ramp);
  ImagePtr img = screen();
  scan->y = 255;
  for (const auto& c : cases) {
    scan->tint = c.tint;
    fill_values(c.sum);
    sinescan_draw(scan.get(), img.get());
    EXPECT_EQ(img_get_pixel(img.get(), 0, 255), c.colour) << std::hex << c.tint << " " << c.sum;
    EXPECT_EQ(img_get_pixel(img.get(), 255, 255), c.colour);
  }
}

TEST_F(SineScanTest, DrawsOnlyItsRowAndItsWidth) {
  ImagePtr img = screen(64, 16);
  fill_values(kMaxSum);
  scan->y = 3;
  scan->width = 10;
  sinescan_draw(scan.get(), img.get());
  for (int32_t x = 0; x < 10; ++x) EXPECT_EQ(img_get_pixel(img.get(), x, 3), 0xFFFFFFu) << x;
  EXPECT_EQ(img_get_pixel(img.get(), 10, 3), 0u);
  scan->width = 256;  // wider than the target: clipped to its 64 columns
  sinescan_draw(scan.get(), img.get());
  EXPECT_EQ(img_get_pixel(img.get(), 63, 3), 0xFFFFFFu);
  for (int32_t row : {-1, 16, 1000}) {
    scan->y = row;
    sinescan_draw(scan.get(), img.get());  // outside: nothing, no fault
  }
  int lit = 0;
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 64; ++x) lit += img_get_pixel(img.get(), x, y) != 0;
  EXPECT_EQ(lit, 64);
}

TEST_F(SineScanTest, ColumnsBeyondTheValuesReadAsZero) {
  mark_ramp();
  sample_set_length(scan->scan, 4);
  fill_values(kMaxSum);
  ImagePtr img = screen(8, 1);
  scan->y = 0;
  sinescan_draw(scan.get(), img.get());
  EXPECT_EQ(img_get_pixel(img.get(), 3, 0), 2048u);
  EXPECT_EQ(img_get_pixel(img.get(), 4, 0), 1025u);
  EXPECT_EQ(img_get_pixel(img.get(), 7, 0), 1025u);
}

TEST_F(SineScanTest, ZeroDivisorCountsAsOne) {
  for (SineWave& w : scan->waves) w.amplitude = 0x1000;  // sum 0x3000 >> 15 = 0
  mark_ramp();
  ImagePtr img = screen();
  scan->y = 0;
  fill_values(16);  // 16 / 1 = 16: index 1024 + (1024 * 16 >> 14) = 1025
  sinescan_draw(scan.get(), img.get());
  EXPECT_EQ(img_get_pixel(img.get(), 0, 0), 1026u);
  // Quotients past the ramp's ends give black, never a read outside it.
  fill_values(20000);  // 1024 + (1024 * 20000 >> 14) = 2274
  sinescan_draw(scan.get(), img.get());
  EXPECT_EQ(img_get_pixel(img.get(), 0, 0), 0u);
  fill_values(-20000);
  sinescan_draw(scan.get(), img.get());
  EXPECT_EQ(img_get_pixel(img.get(), 0, 0), 0u);
  // The product half * q wraps in 32 bits like every sum here: 1024 * 25164288 is
  // -1572864 modulo 2^32, so index 1024 - 96 = 928.
  fill_values(kMaxSum);
  sinescan_draw(scan.get(), img.get());
  EXPECT_EQ(img_get_pixel(img.get(), 0, 0), 929u);
  fill_values(INT32_MIN);
  sinescan_draw(scan.get(), img.get());
  // Amplitudes altogether zero: every value is 0, the row is the ramp's middle.
  for (SineWave& w : scan->waves) w.amplitude = 0;
  sinescan_update(scan.get());
  sinescan_draw(scan.get(), img.get());
  EXPECT_EQ(img_get_pixel(img.get(), 200, 0), 1025u);
  // Tinted drawing takes the same divisor.
  sample_free(&scan->colour_ramp);
  scan->tint = 0x101010;
  fill_values(128);
  sinescan_draw(scan.get(), img.get());
  EXPECT_EQ(img_get_pixel(img.get(), 0, 0), 0x111111u);
}

TEST_F(SineScanTest, AlteredAmplitudesAndPhasesStayInBounds) {
  scan->waves[0].amplitude = -0x8000;  // divisor -1
  scan->waves[1].amplitude = 0;
  scan->waves[2].amplitude = 0;
  scan->waves[0].phase = -12345;       // outside one turn
  scan->waves[1].phase = INT32_MAX;
  sinescan_update(scan.get());
  fill_values(INT32_MIN);
  ImagePtr img = screen();
  sinescan_draw(scan.get(), img.get());
  // Each drawn row's phases lie within one turn of the table after the update.
  for (const SineWave& w : scan->waves) {
    EXPECT_GE(w.phase, 0);
    EXPECT_LE(w.phase, sine_phase_mask);
  }
  for (SineWave& w : scan->waves) w.amplitude = INT32_MAX;
  sinescan_update(scan.get());
  sinescan_draw(scan.get(), img.get());
  for (const SineWave& w : scan->waves) {
    EXPECT_GE(w.phase, 0);
    EXPECT_LE(w.phase, sine_phase_mask);
  }
}

TEST(SineScan, FreeingTheRampSwitchesToTint) {
  ScanPtr scan(sinescan_new());
  ASSERT_TRUE(scan);
  for (SineWave& w : scan->waves) w.step = 0;
  scan->tint = 0x204060;
  scan->y = 1;
  sinescan_update(scan.get());
  sample_free(&scan->colour_ramp);
  sinescan_update(scan.get());
  ImagePtr img = screen();
  sinescan_draw(scan.get(), img.get());
  const int32_t t = (scan->scan->data[0] / 1536) >> 7;
  EXPECT_EQ(img_get_pixel(img.get(), 0, 1), rgb_shift(0x204060, t));
}

TEST(SineScan, NullIsHarmless) {
  ImagePtr img = screen(4, 4);
  sinescan_randomize(nullptr);
  sinescan_update(nullptr);
  sinescan_draw(nullptr, img.get());
  SineScan* none = nullptr;
  sinescan_free(&none);
  sinescan_free(nullptr);
  ScanPtr scan(sinescan_new());
  ASSERT_TRUE(scan);
  sinescan_draw(scan.get(), nullptr);
  sample_free(&scan->scan);
  sinescan_update(scan.get());   // no values: nothing
  scan->y = 0;
  sinescan_draw(scan.get(), img.get());  // every column reads 0: ramp middle, black
  EXPECT_EQ(img_get_pixel(img.get(), 0, 0), 0u);
  SineScan* s = sinescan_new();
  sinescan_free(&s);
  EXPECT_EQ(s, nullptr);
}

}  // namespace
