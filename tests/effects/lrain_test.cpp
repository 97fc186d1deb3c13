// Rain drops: construction, random placement order, wrapping rules, streak drawing, guards.
#include "effects/lrain.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "image/img.h"
#include "image_helpers.h"

namespace {

struct RainDeleter {
  void operator()(LRain* r) const { lrain_free(&r); }
};
using RainPtr = std::unique_ptr<LRain, RainDeleter>;

std::vector<int32_t> drops_of(const LRain* r) { return {r->drops, r->drops + 2 * r->count}; }

TEST(LRain, NewHasDefaultsAndSixteenDropsDrawnLastFirst) {
  std::srand(1234);
  RainPtr rain(lrain_new());
  ASSERT_TRUE(rain);
  EXPECT_EQ(rain->x, 0);
  EXPECT_EQ(rain->y, 0);
  EXPECT_EQ(rain->z, 0);
  EXPECT_EQ(rain->width, 256);
  EXPECT_EQ(rain->height, 256);
  EXPECT_EQ(rain->depth, 0);
  EXPECT_EQ(rain->vx, 0);
  EXPECT_EQ(rain->vy, 0x10000);
  EXPECT_EQ(rain->colour, 0xFFFFFFu);
  ASSERT_EQ(rain->count, 16);

  std::srand(1234);
  for (int32_t i = 15; i >= 0; --i) {
    const int32_t x = (std::rand() % 256) << 16;
    const int32_t y = (std::rand() % 256) << 16;
    EXPECT_EQ(rain->drops[2 * i], x) << "drop " << i;
    EXPECT_EQ(rain->drops[2 * i + 1], y) << "drop " << i;
  }
}

TEST(LRain, ResetDropUsesCurrentAreaColumnThenRow) {
  RainPtr rain(lrain_new());
  ASSERT_TRUE(rain);
  rain->width = 7;
  rain->height = 300;
  std::srand(99);
  lrain_reset_drop(rain.get(), 3);
  std::srand(99);
  const int32_t x = (std::rand() % 7) << 16;
  const int32_t y = (std::rand() % 300) << 16;
  EXPECT_EQ(rain->drops[6], x);
  EXPECT_EQ(rain->drops[7], y);
}

struct WrapCase {
  const char* name;
  int32_t vx, vy;
  int32_t x0, y0;      // head before the move (16.16)
  int32_t x1, y1;      // head after the move (16.16)
};

class LRainWrap : public testing::TestWithParam<WrapCase> {};

TEST_P(LRainWrap, MovesAndWraps) {
  const WrapCase& c = GetParam();
  RainPtr rain(lrain_new());
  ASSERT_TRUE(rain);
  lrain_set_count(rain.get(), 1);
  rain->vx = c.vx;
  rain->vy = c.vy;
  rain->drops[0] = c.x0;
  rain->drops[1] = c.y0;
  lrain_update(rain.get());
  EXPECT_EQ(rain->drops[0], c.x1);
  EXPECT_EQ(rain->drops[1], c.y1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LRainWrap,
    testing::Values(
        // tx 0, ty 2: row 257 is kept, row 258 re-enters at -1.
        WrapCase{"Row257Stays", 0, 0x10000, 10 << 16, 256 << 16, 10 << 16, 257 << 16},
        WrapCase{"Row258ToMinus1", 0, 0x10000, 10 << 16, 257 << 16, 10 << 16, -1 * 65536},
        // The wrapped coordinate loses its fraction.
        WrapCase{"FractionDropped", 0, 0x10000, 10 << 16, (257 << 16) + 0x8000, 10 << 16, -1 * 65536},
        // Moving up (ty -2) the same comparisons apply: below row -ty = 2 re-enters at
        // ty + height - 1 = 253.
        WrapCase{"UpRow2Stays", 0, -0x10000, 3 << 16, 3 << 16, 3 << 16, 2 << 16},
        WrapCase{"UpRow1Wraps", 0, -0x10000, 3 << 16, 2 << 16, 3 << 16, 253 << 16},
        // tx 0: column -1 goes to 255, column 256 to 1.
        WrapCase{"ColumnMinus1To255", 0, 0, -1 * 65536, 5 << 16, 255 << 16, 5 << 16},
        WrapCase{"Column256To1", 0, 0, 256 << 16, 5 << 16, 1 << 16, 5 << 16},
        WrapCase{"Column255Stays", 0, 0, 255 << 16, 5 << 16, 255 << 16, 5 << 16},
        // tx 2 with a one-pixel step to the right: 257 stays, 258 goes to -1.
        WrapCase{"RightWithStreak", 0x10000, 0, 257 << 16, 0, -1 * 65536, 0}),
    [](const testing::TestParamInfo<WrapCase>& i) { return std::string(i.param.name); });

TEST(LRain, StillDropIsOnePixel) {
  RainPtr rain(lrain_new());
  ASSERT_TRUE(rain);
  lrain_set_count(rain.get(), 1);
  rain->vx = 0;
  rain->vy = 0;
  rain->colour = 0x123456;
  rain->drops[0] = 10 << 16;
  rain->drops[1] = 20 << 16;
  ImagePtr img = screen();
  lrain_draw(rain.get(), img.get());
  int lit = 0;
  for (int32_t y = 0; y < 256; ++y)
    for (int32_t x = 0; x < 256; ++x) lit += img_get_pixel(img.get(), x, y) != 0;
  EXPECT_EQ(lit, 1);
  EXPECT_EQ(img_get_pixel(img.get(), 10, 20), 0x123456u);
}

TEST(LRain, StreakRunsBackTwiceTheVelocityAndTakesTargetSize) {
  RainPtr rain(lrain_new());
  ASSERT_TRUE(rain);
  lrain_set_count(rain.get(), 1);
  rain->vx = 0;
  rain->vy = 0x18000;  // 1.5 pixels: streak back 3 pixels
  rain->colour = 0xFF0000;
  rain->drops[0] = 5 << 16;
  rain->drops[1] = 10 << 16;
  ImagePtr img = screen(64, 32);
  lrain_draw(rain.get(), img.get());
  EXPECT_EQ(rain->width, 64);
  EXPECT_EQ(rain->height, 32);
  EXPECT_EQ(img_get_pixel(img.get(), 5, 6), 0u);
  for (int32_t y = 7; y <= 10; ++y) EXPECT_EQ(img_get_pixel(img.get(), 5, y), 0xFF0000u) << y;
  EXPECT_EQ(img_get_pixel(img.get(), 5, 11), 0u);
}

TEST(LRain, UpdateWrapsAtTheLastTargetSize) {
  RainPtr rain(lrain_new());
  ASSERT_TRUE(rain);
  lrain_set_count(rain.get(), 2);
  rain->vx = 0;
  rain->vy = 0;
  ImagePtr img = screen(64, 32);
  lrain_draw(rain.get(), img.get());
  rain->drops[0] = 64 << 16;   // one past the right edge of the 64-wide target
  rain->drops[1] = 31 << 16;
  rain->drops[2] = 63 << 16;
  rain->drops[3] = 32 << 16;   // one past the bottom
  lrain_update(rain.get());
  EXPECT_EQ(rain->drops[0], 1 << 16);
  EXPECT_EQ(rain->drops[1], 31 << 16);
  EXPECT_EQ(rain->drops[2], 63 << 16);
  EXPECT_EQ(rain->drops[3], 1 << 16);
}

TEST(LRain, StreakOffTheTargetIsClipped) {
  RainPtr rain(lrain_new());
  ASSERT_TRUE(rain);
  lrain_set_count(rain.get(), 1);
  rain->vy = 0x20000;
  rain->drops[0] = 0;
  rain->drops[1] = 1 << 16;  // streak from row 1 up to row -3
  ImagePtr img = screen(8, 8);
  lrain_draw(rain.get(), img.get());
  EXPECT_EQ(img_get_pixel(img.get(), 0, 0), 0xFFFFFFu);
  EXPECT_EQ(img_get_pixel(img.get(), 0, 1), 0xFFFFFFu);
  EXPECT_EQ(img_get_pixel(img.get(), 0, 2), 0u);
}

TEST(LRain, BadArgumentsChangeNothing) {
  RainPtr rain(lrain_new());
  ASSERT_TRUE(rain);
  const std::vector<int32_t> before = drops_of(rain.get());
  const int32_t* old = rain->drops;

  lrain_reset_drop(rain.get(), rain->count);
  lrain_reset_drop(rain.get(), -1);
  EXPECT_EQ(drops_of(rain.get()), before);

  lrain_set_count(rain.get(), 0);
  lrain_set_count(rain.get(), -5);
  EXPECT_EQ(rain->count, 16);
  EXPECT_EQ(rain->drops, old);
  EXPECT_EQ(drops_of(rain.get()), before);

  // Without a positive area no drop can be placed.
  rain->width = 0;
  lrain_reset(rain.get());
  lrain_reset_drop(rain.get(), 0);
  EXPECT_EQ(drops_of(rain.get()), before);
}

TEST(LRain, SetCountReplacesDrops) {
  RainPtr rain(lrain_new());
  ASSERT_TRUE(rain);
  std::srand(7);
  lrain_set_count(rain.get(), 3);
  ASSERT_EQ(rain->count, 3);
  std::srand(7);
  for (int32_t i = 2; i >= 0; --i) {
    EXPECT_EQ(rain->drops[2 * i], (std::rand() % 256) << 16);
    EXPECT_EQ(rain->drops[2 * i + 1], (std::rand() % 256) << 16);
  }
}

TEST(LRain, NullIsHarmless) {
  ImagePtr img = screen(4, 4);
  lrain_set_count(nullptr, 4);
  lrain_reset(nullptr);
  lrain_reset_drop(nullptr, 0);
  lrain_update(nullptr);
  lrain_draw(nullptr, img.get());
  LRain* none = nullptr;
  lrain_free(&none);
  lrain_free(nullptr);
  RainPtr rain(lrain_new());
  ASSERT_TRUE(rain);
  lrain_draw(rain.get(), nullptr);
  EXPECT_EQ(rain->width, 256);
  LRain* r = lrain_new();
  lrain_free(&r);
  EXPECT_EQ(r, nullptr);
}

TEST(LRain, ExtremeVelocityDoesNotOverflow) {
  RainPtr rain(lrain_new());
  ASSERT_TRUE(rain);
  rain->vx = INT32_MAX;
  rain->vy = INT32_MIN;
  for (int k = 0; k < 4; ++k) lrain_update(rain.get());
  // The streaks are drawn in the rain's colour and nothing else lands in the image (the
  // sanitizer build checks that no write leaves it).
  rain->colour = 0x123456;
  ImagePtr img = screen(16, 16);
  lrain_draw(rain.get(), img.get());
  for (int32_t row = 0; row < 16; ++row)
    for (int32_t col = 0; col < 16; ++col) {
      const uint32_t p = img_get_pixel(img.get(), col, row);
      EXPECT_TRUE(p == 0 || p == 0x123456u) << "(" << col << ", " << row << "): " << std::hex << p;
    }
}

}  // namespace
