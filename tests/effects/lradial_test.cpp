// Spoke wheels: construction and random order, the shared hue palette, spacing and spin in 16.16,
// and the spokes' places and dithered colours.
#include "effects/lradial.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "audio/sample.h"
#include "image/img.h"
#include "image_helpers.h"
#include "image/rgb.h"

namespace {

struct WheelDeleter {
  void operator()(LRadial* w) const { lradial_free(&w); }
};
using WheelPtr = std::unique_ptr<LRadial, WheelDeleter>;

uint32_t hue(int32_t i) { return uint32_t(sample_get(lradial_palette(), i)); }

TEST(LRadial, NewCentresTheWheelAndDrawsSpinThenRadius) {
  std::srand(404);
  WheelPtr w(lradial_new());
  ASSERT_TRUE(w);
  EXPECT_EQ(w->x, 128);
  EXPECT_EQ(w->y, 128);
  EXPECT_EQ(w->z, 0);
  EXPECT_EQ(w->width, 256);
  EXPECT_EQ(w->height, 256);
  EXPECT_EQ(w->depth, 0);
  EXPECT_EQ(w->angle, 0);
  EXPECT_EQ(w->count, 16);
  EXPECT_EQ(w->spacing, 0x400000);
  std::srand(404);
  EXPECT_EQ(w->spin, (std::rand() & 0x7FFFF) + 0x8000);
  EXPECT_EQ(w->radius, ((std::rand() % 224) / 2) + 32);
  for (int i = 0; i < 500; ++i) {
    WheelPtr v(lradial_new());
    ASSERT_GE(v->spin, 0x8000);
    ASSERT_LT(v->spin, 0x88000);
    ASSERT_GE(v->radius, 32);
    ASSERT_LE(v->radius, 143);
  }
}

TEST(LRadial, PaletteIsBuiltOnceAndRunsRoundTheHues) {
  WheelPtr a(lradial_new());
  const Sample* palette = lradial_palette();
  ASSERT_TRUE(palette);
  WheelPtr b(lradial_new());
  EXPECT_EQ(lradial_palette(), palette);
  a.reset();
  b.reset();
  EXPECT_EQ(lradial_palette(), palette);  // freeing wheels keeps the palette
  ASSERT_EQ(palette->length, 1536);
  const struct {
    int32_t index;
    uint32_t colour;
  } cases[] = {
      {0, 0x00FF00},    {1, 0x00FF01},    {255, 0x00FFFF},  {256, 0x00FFFF}, {257, 0x00FEFF},
      {510, 0x0001FF},  {511, 0x0000FF},  {512, 0x0000FF},  {513, 0x0100FF},  {767, 0xFF00FF}, {768, 0xFF00FF},
      {769, 0xFF00FE},  {1022, 0xFF0001}, {1023, 0xFF0000}, {1024, 0xFF0000}, {1025, 0xFF0100}, {1279, 0xFFFF00},
      {1280, 0xFFFF00}, {1281, 0xFEFF00}, {1534, 0x01FF00}, {1535, 0x00FF00},
  };
  for (const auto& c : cases) EXPECT_EQ(hue(c.index), c.colour) << "entry " << c.index;
}

TEST(LRadial, SetCountSetsTheSpacing) {
  WheelPtr w(lradial_new());
  const struct {
    int32_t n, spacing;
  } cases[] = {{1, 0x4000000}, {3, 0x1555555}, {16, 0x400000}, {64, 0x100000}, {1000, 0x10624}};
  for (const auto& c : cases) {
    lradial_set_count(w.get(), c.n);
    EXPECT_EQ(w->count, c.n);
    EXPECT_EQ(w->spacing, c.spacing) << c.n;
  }
  for (int32_t bad : {0, -1, INT32_MIN}) {
    lradial_set_count(w.get(), bad);
    EXPECT_EQ(w->count, 1000);
    EXPECT_EQ(w->spacing, 0x10624);
  }
}

TEST(LRadial, SpinWrapsWithinOneTurn) {
  WheelPtr w(lradial_new());
  const struct {
    int32_t angle, spin, result;
  } cases[] = {
      {0x3FF8000, 0x10000, 0x8000},
      {0, 0x88000, 0x88000},
      {0x10000, -0x20000, 0x3FF0000},
      {INT32_MAX, INT32_MAX, 0x3FFFFFE},
  };
  for (const auto& c : cases) {
    w->angle = c.angle;
    w->spin = c.spin;
    lradial_spin(w.get());
    EXPECT_EQ(w->angle, c.result) << std::hex << c.angle << " + " << c.spin;
  }
}

// One spoke straight down (angle 0: sine 0, cosine 32766): its length is radius - 1 and it
// carries the dither pattern of the two-colour line from hue 0 to hue 192.
TEST(LRadial, SingleSpokeRunsFromGreenToItsOuterHue) {
  WheelPtr w(lradial_new());
  lradial_set_count(w.get(), 1);
  w->radius = 9;
  ImagePtr img = screen();
  lradial_draw_rainbow(w.get(), img.get());
  const uint32_t c0 = 0x00FF00, c1 = 0x00FFC0;
  ASSERT_EQ(hue(192), c1);
  const uint32_t pattern[9] = {c0, c0, c0, c0, c1, c0, c1, c1, c1};
  for (int32_t k = 0; k < 9; ++k) EXPECT_EQ(img_get_pixel(img.get(), 128, 128 + k), pattern[k]) << k;
  EXPECT_EQ(lit_pixels(img.get()), 9);
  EXPECT_EQ(w->angle, 0);  // drawing does not turn the wheel
}

TEST(LRadial, FourSpokesTakeTheirHuesBackwardsRoundTheWheel) {
  WheelPtr w(lradial_new());
  lradial_set_count(w.get(), 4);
  w->radius = 20;
  ImagePtr img = screen();
  lradial_draw_rainbow(w.get(), img.get());
  // Spoke n = 4 at angle 0 (down), 3 at 256 (right), 2 at 512 (up), 1 at 768 (left); the shift of
  // the negative products rounds down, so the upward and leftward spokes are one pixel longer.
  const struct {
    int32_t col, row;
    uint32_t colour;
  } cases[] = {
      {128, 147, 0x00FFC0},  // tip of spoke 4: hue 192
      {128, 129, 0x00FF00},  // its start: hue 0
      {147, 128, 0xBFFF00},  // tip of spoke 3: hue 1344
      {129, 128, 0xFF8000},  // its start: hue 1152
      {128, 108, 0xFF003F},  // tip of spoke 2: hue 960
      {128, 127, 0xFF00FF},  // its start: hue 768
      {108, 128, 0x4000FF},  // tip of spoke 1: hue 576
      {127, 128, 0x007FFF},  // its start: hue 384
      {128, 128, 0x007FFF},  // the centre, last drawn by spoke 1
      {128, 148, 0},         {148, 128, 0},       {128, 107, 0},  {107, 128, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(img_get_pixel(img.get(), c.col, c.row), c.colour) << c.col << "," << c.row;
  EXPECT_EQ(lit_pixels(img.get()), 20 + 20 + 21 + 21 - 3);
}

TEST(LRadial, SixtyFourSpokesCoverTheTurnFromTheWheelAngle) {
  WheelPtr w(lradial_new());
  lradial_set_count(w.get(), 64);
  w->radius = 100;
  w->angle = 0x3F88000;  // 1016.5 entries: the spokes stand at 1016, 8, 24, ... 1000
  w->x = 120;
  w->y = 130;
  ImagePtr img = screen();
  lradial_draw_rainbow(w.get(), img.get());
  for (int32_t n = 64; n >= 1; --n) {
    const int32_t e = (1016 + 16 * (64 - n)) & 1023;
    const int32_t col = 120 + ((sine_table[e] * 100) >> 15);
    const int32_t row = 130 + ((sine_table[(e + 256) & 1023] * 100) >> 15);
    const int32_t c1 = (1536 * n / 64 + 192) % 1536;
    EXPECT_EQ(img_get_pixel(img.get(), col, row), hue(c1)) << "spoke " << n;
  }
}

TEST(LRadial, ZeroRadiusDrawsOnlyTheCentre) {
  WheelPtr w(lradial_new());
  lradial_set_count(w.get(), 64);
  w->radius = 0;
  ImagePtr img = screen();
  lradial_draw_rainbow(w.get(), img.get());
  EXPECT_EQ(lit_pixels(img.get()), 1);
  EXPECT_EQ(img_get_pixel(img.get(), 128, 128), hue(24));  // spoke 1, drawn last, inner hue
}

TEST(LRadial, SpokesLeavingTheTargetAreClipped) {
  WheelPtr w(lradial_new());
  lradial_set_count(w.get(), 1);
  w->x = 2;
  w->y = 250;
  w->radius = 40;
  ImagePtr img = screen();
  lradial_draw_rainbow(w.get(), img.get());
  EXPECT_EQ(lit_pixels(img.get()), 6);  // rows 250 to 255 of a spoke down to row 289
}

TEST(LRadial, NullsAndBadCountsDrawNothing) {
  ImagePtr img = screen(8, 8);
  lradial_set_count(nullptr, 4);
  lradial_spin(nullptr);
  lradial_draw_rainbow(nullptr, img.get());
  LRadial* none = nullptr;
  lradial_free(&none);
  lradial_free(nullptr);
  WheelPtr w(lradial_new());
  lradial_draw_rainbow(w.get(), nullptr);
  w->x = 4;
  w->y = 4;
  for (int32_t bad : {0, -3}) {
    w->count = bad;  // set from outside, bypassing lradial_set_count
    lradial_draw_rainbow(w.get(), img.get());
  }
  EXPECT_EQ(lit_pixels(img.get()), 0);
  LRadial* p = lradial_new();
  lradial_free(&p);
  EXPECT_EQ(p, nullptr);
}

}  // namespace
