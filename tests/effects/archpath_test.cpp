// Arc walkers: construction and random order, the four step rules, centre wrapping, and the
// wrapped dot, sprite and glow drawings.
#include "effects/archpath.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "image/img.h"
#include "image_helpers.h"
#include "image/rgb.h"

namespace {

struct WalkerDeleter {
  void operator()(ArchPath* w) const { archpath_free(&w); }
};
using WalkerPtr = std::unique_ptr<ArchPath, WalkerDeleter>;

// Checks that exactly `draws` random numbers were taken since srand(seed).
void expect_draws_since(unsigned seed, int draws) {
  const int next = std::rand();
  std::srand(seed);
  for (int i = 0; i < draws; ++i) std::rand();
  EXPECT_EQ(next, std::rand()) << "not " << draws << " draws";
}

// A walker about to change circle: after its next step it stands at table angle 256
// (sine 32766, cosine 0), so the centre jumps along +x by (radius + R) - 1 pixels.
WalkerPtr walker_at_switch(int32_t step) {
  WalkerPtr w(archpath_new());
  w->x = 100;
  w->y = 60;
  w->step = step;
  w->angle = (256 - step) & 1023;
  w->radius = 20;
  w->duration = 5;
  w->counter = 4;
  return w;
}

TEST(ArchPath, NewDrawsItsFieldsInOrder) {
  std::srand(555);
  WalkerPtr w(archpath_new());
  ASSERT_TRUE(w);
  EXPECT_EQ(w->z, 0);
  EXPECT_EQ(w->width, 256);
  EXPECT_EQ(w->height, 256);
  EXPECT_EQ(w->depth, 256);
  EXPECT_EQ(w->counter, 0);
  for (const Image* img : {w->sprite, w->glow}) {
    ASSERT_TRUE(img);
    EXPECT_EQ(img->width, 16);
    EXPECT_EQ(img->height, 16);
    EXPECT_EQ(lit_pixels(img), 0);
  }
  std::srand(555);
  EXPECT_EQ(w->x, std::rand() % 256);
  EXPECT_EQ(w->y, std::rand() % 256);
  EXPECT_EQ(w->angle, std::rand() & 1023);
  const int32_t step = (std::rand() & 3) + 1;
  EXPECT_EQ(w->step, step);
  EXPECT_EQ(w->duration, ((std::rand() % 768) + 256) / step);
  EXPECT_EQ(w->radius, (std::rand() & 31) + 16);
  EXPECT_EQ(w->colour, (uint32_t(std::rand()) & 0x7F7F7Fu) + 0x808080u);
  expect_draws_since(555, 7);
}

TEST(ArchPath, RandomizePlacesWithinThePlane) {
  WalkerPtr w(archpath_new());
  w->width = 100;
  w->height = 50;
  w->counter = 9;
  std::srand(77);
  archpath_randomize(w.get());
  std::srand(77);
  EXPECT_EQ(w->x, std::rand() % 100);
  EXPECT_EQ(w->y, std::rand() % 50);
  EXPECT_EQ(w->counter, 0);
  for (int i = 0; i < 1000; ++i) {
    archpath_randomize(w.get());
    ASSERT_GE(w->step, 1);
    ASSERT_LE(w->step, 4);
    ASSERT_GE(w->duration, 64);
    ASSERT_LE(w->duration, 1023);
    ASSERT_GE(w->radius, 16);
    ASSERT_LE(w->radius, 47);
    for (int shift : {0, 8, 16}) ASSERT_GE((w->colour >> shift) & 255, 128u);
  }
}

TEST(ArchPath, StepBeforeTheEndOfTheCircleOnlyTurns) {
  WalkerPtr w(archpath_new());
  w->x = 30;
  w->y = 40;
  w->angle = 1022;
  w->step = 4;
  w->radius = 20;
  w->duration = 5;
  w->counter = 3;
  std::srand(3);
  archpath_step_wander(w.get());
  EXPECT_EQ(w->angle, 2);
  EXPECT_EQ(w->counter, 4);
  EXPECT_EQ(w->x, 30);
  EXPECT_EQ(w->y, 40);
  EXPECT_EQ(w->radius, 20);
  EXPECT_EQ(w->duration, 5);
  EXPECT_EQ(w->step, 4);
  expect_draws_since(3, 0);  // no draw
}

struct RuleCase {
  const char* name;
  void (*rule)(ArchPath*);
  bool draws;                    // false: radius and duration kept
  int32_t radius_mask, radius_base;
  int32_t duration_mod, duration_base;
  bool reverses;
};

class ArchPathRule : public testing::TestWithParam<RuleCase> {};

// Step -3 makes the rule's duration quotient negative, so it must come out negated.
TEST_P(ArchPathRule, ChangesCircleThroughTheSamePoint) {
  const RuleCase& c = GetParam();
  WalkerPtr w = walker_at_switch(-3);
  std::srand(2024);
  c.rule(w.get());
  const int next = std::rand();

  std::srand(2024);
  int32_t r = 20, duration = 5;
  if (c.draws) {
    r = (std::rand() & c.radius_mask) + c.radius_base;
    duration = ((std::rand() % c.duration_mod) + c.duration_base) / 3;
  }
  EXPECT_EQ(w->radius, r);
  EXPECT_EQ(w->duration, duration);
  EXPECT_EQ(w->x, 100 + (20 + r) - 1);
  EXPECT_EQ(w->y, 60);
  EXPECT_EQ(w->angle, 768);
  EXPECT_EQ(w->counter, 0);
  EXPECT_EQ(w->step, c.reverses ? 3 : -3);
  EXPECT_EQ(next, std::rand()) << "draws taken by the rule";
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ArchPathRule,
    testing::Values(RuleCase{"Swing", archpath_step_swing, false, 0, 0, 0, 0, true},
                    RuleCase{"Wander", archpath_step_wander, true, 31, 16, 1024, 256, true},
                    RuleCase{"Bounce", archpath_step_bounce, true, 15, 8, 768, 256, false},
                    RuleCase{"Drift", archpath_step_drift, true, 15, 8, 2048, 2048, true}),
    [](const testing::TestParamInfo<RuleCase>& i) { return std::string(i.param.name); });

TEST(ArchPath, SwingFromAPositiveStep) {
  WalkerPtr w = walker_at_switch(2);
  archpath_step_swing(w.get());
  EXPECT_EQ(w->x, 139);  // 100 + (32766 * 40 >> 15)
  EXPECT_EQ(w->y, 60);
  EXPECT_EQ(w->angle, 768);
  EXPECT_EQ(w->step, -2);
  EXPECT_EQ(w->duration, 5);
}

TEST(ArchPath, ShortCircleSwitchesAtEveryStep) {
  WalkerPtr w(archpath_new());
  w->step = 4;
  w->duration = 1;
  w->counter = 0;
  const int32_t expected_step[] = {-4, 4, -4};
  for (int32_t s : expected_step) {
    const int32_t angle = w->angle;
    archpath_step_swing(w.get());
    EXPECT_EQ(w->counter, 0);
    EXPECT_EQ(w->step, s);
    EXPECT_EQ(w->angle, (angle - s + 512) & 1023);
  }
}

TEST(ArchPath, CentreWrapsOnceIntoThePlane) {
  const struct {
    int32_t width, x, y, angle;   // angle before the step of +2
    int32_t x1, y1;
  } cases[] = {
      {256, 240, 60, 254, 23, 60},    // +39 past the right edge
      {256, 10, 60, 766, 226, 60},    // -40 past the left edge
      {256, 60, 250, 1022, 60, 33},   // +39 past the bottom
      {256, 60, 5, 510, 60, 221},     // -40 past the top
      {256, 100, 100, 254, 139, 100}, // inside
      {100, 90, 60, 254, 29, 60},     // a narrower plane
  };
  for (const auto& c : cases) {
    WalkerPtr w(archpath_new());
    w->width = c.width;
    w->x = c.x;
    w->y = c.y;
    w->angle = c.angle;
    w->step = 2;
    w->radius = 20;
    w->duration = 1;
    w->counter = 0;
    archpath_step_swing(w.get());
    EXPECT_EQ(w->x, c.x1) << c.x << "," << c.y << " angle " << c.angle;
    EXPECT_EQ(w->y, c.y1) << c.x << "," << c.y << " angle " << c.angle;
  }
}

// Arc point of the walker's current state, unwrapped.
std::pair<int32_t, int32_t> arc_point(const ArchPath* w) {
  return {w->x + ((sine_table[w->angle] * w->radius) >> 15),
          w->y + ((sine_table[(w->angle + 256) & 1023] * w->radius) >> 15)};
}

TEST(ArchPath, SwingKeepsTheArcPointWithinOnePixel) {
  WalkerPtr w(archpath_new());
  for (int32_t radius = 16; radius <= 47; ++radius) {
    for (int32_t a = 0; a < 1024; ++a) {
      w->x = 128;
      w->y = 128;
      w->radius = radius;
      w->step = 1;
      w->duration = 1;
      w->counter = 0;
      w->angle = a;  // where the step will stand
      const auto before = arc_point(w.get());
      w->angle = (a - 1) & 1023;
      archpath_step_swing(w.get());
      const auto after = arc_point(w.get());
      ASSERT_LE(std::abs(after.first - before.first), 1) << "radius " << radius << " angle " << a;
      ASSERT_LE(std::abs(after.second - before.second), 1) << "radius " << radius << " angle " << a;
    }
  }
}

TEST(ArchPath, DotWrapsOnceAtThePlaneEdges) {
  const struct {
    int32_t x, y, angle, radius;
    int32_t px, py;
    int32_t plane = 256;
  } cases[] = {
      {13, 100, 768, 16, 253, 100},   // arc point -3
      {243, 100, 256, 16, 2, 100},    // arc point 258
      {0, 100, 768, 16, 240, 100},    // most negative entry: offset -16
      {0, 100, 256, 16, 15, 100},     // largest entry: offset 15
      {100, 13, 512, 16, 100, 253},   // cosine -32766 on the vertical
      {100, 243, 0, 16, 100, 2},
      {255, 255, 0, 0, 255, 255},     // radius 0: the centre itself
      {5, 30, 768, 16, 89, 30, 100},  // a plane of 100: -11 wraps to 89
      {95, 30, 256, 16, 10, 30, 100}, // 110 wraps to 10
      {30, 95, 0, 16, 30, 10, 100},
  };
  for (const auto& c : cases) {
    WalkerPtr w(archpath_new());
    w->x = c.x;
    w->y = c.y;
    w->angle = c.angle;
    w->radius = c.radius;
    w->colour = 0x8090A0;
    w->width = c.plane;
    w->height = c.plane;
    ImagePtr img = screen();
    archpath_draw_dot(w.get(), img.get());
    EXPECT_EQ(img_get_pixel(img.get(), c.px, c.py), 0x8090A0u) << c.x << "," << c.y;
    EXPECT_EQ(lit_pixels(img.get()), 1) << c.x << "," << c.y;
  }
}

TEST(ArchPath, DotOutsideTheTargetIsDropped) {
  WalkerPtr w(archpath_new());
  w->radius = 0;
  w->angle = 0;
  ImagePtr small = screen(100, 100);
  w->x = 200;                 // inside the plane, outside the target
  w->y = 50;
  archpath_draw_dot(w.get(), small.get());
  w->x = -300;                // one wrap is not enough: -44
  archpath_draw_dot(w.get(), small.get());
  EXPECT_EQ(lit_pixels(small.get()), 0);
}

// Where the sprite and the glow are drawn for a given unwrapped arc point.
struct CopyCase {
  const char* name;
  int32_t x, y;
  std::vector<std::pair<int32_t, int32_t>> copies;  // in drawing order
};

const CopyCase kCopyCases[] = {
    {"Inside", 100, 100, {{100, 100}}},
    {"TouchesRightEdge", 240, 100, {{240, 100}}},
    {"Right", 241, 100, {{241, 100}, {-15, 100}}},
    {"Left", -6, 100, {{-6, 100}, {250, 100}}},
    {"Top", 100, -3, {{100, -3}, {100, 253}}},
    {"Bottom", 100, 250, {{100, 250}, {100, -6}}},
    {"TopLeft", -5, -5, {{-5, -5}, {251, -5}, {251, 251}}},
    {"BottomRight", 250, 250, {{250, 250}, {-6, 250}, {-6, -6}}},
};

class ArchPathCopies : public testing::TestWithParam<CopyCase> {};

// Walker whose arc point is (x, y): radius 0.
WalkerPtr walker_on(int32_t x, int32_t y) {
  WalkerPtr w(archpath_new());
  w->x = x;
  w->y = y;
  w->angle = 0;
  w->radius = 0;
  return w;
}

TEST_P(ArchPathCopies, SpriteIsSprayedAtEachCopy) {
  const CopyCase& c = GetParam();
  WalkerPtr w = walker_on(c.x, c.y);
  // Every sprite pixel is lit and names its own place, so a stray copy shows.
  for (int32_t r = 0; r < 16; ++r)
    for (int32_t col = 0; col < 16; ++col) img_set_pixel(w->sprite, col, r, uint32_t((col + 1) << 8 | (r + 1)));
  ImagePtr img = screen();
  std::srand(31);
  archpath_draw_sprite(w.get(), img.get());
  const int next = std::rand();

  ImagePtr expected = screen();
  std::srand(31);
  for (const auto& [sx, sy] : c.copies) {
    for (int k = 0; k < 18; ++k) {
      const int32_t col = std::rand() % 16;
      const int32_t row = std::rand() % 16;
      img_set_pixel(expected.get(), sx + col, sy + row, uint32_t((col + 1) << 8 | (row + 1)));
    }
  }
  EXPECT_EQ(next, std::rand()) << "18 column and row draws per copy";
  for (int32_t i = 0; i < 256 * 256; ++i)
    ASSERT_EQ(img->pixels[i], expected->pixels[i]) << "pixel " << i % 256 << "," << i / 256;
}

TEST_P(ArchPathCopies, GlowIsAddedAtEachCopy) {
  const CopyCase& c = GetParam();
  WalkerPtr w = walker_on(c.x, c.y);
  img_fill_rect(w->glow, 0, 0, 16, 16, 0x010101);
  ImagePtr img = screen();
  archpath_draw_glow(w.get(), img.get());

  ImagePtr expected = screen();
  for (const auto& [gx, gy] : c.copies)
    for (int32_t r = 0; r < 16; ++r)
      for (int32_t col = 0; col < 16; ++col) {
        const uint32_t p = img_get_pixel(expected.get(), gx + col, gy + r);
        img_set_pixel(expected.get(), gx + col, gy + r, p + 0x010101);
      }
  for (int32_t i = 0; i < 256 * 256; ++i)
    ASSERT_EQ(img->pixels[i], expected->pixels[i]) << "pixel " << i % 256 << "," << i / 256;
  EXPECT_EQ(w->glow->x, c.x);  // the glow keeps the unwrapped arc point
  EXPECT_EQ(w->glow->y, c.y);
}

INSTANTIATE_TEST_SUITE_P(Cases, ArchPathCopies, testing::ValuesIn(kCopyCases),
                         [](const testing::TestParamInfo<CopyCase>& i) { return std::string(i.param.name); });

TEST(ArchPath, GlowSaturatesEachChannel) {
  WalkerPtr w = walker_on(50, 50);
  img_fill_rect(w->glow, 0, 0, 16, 16, 0x302010);
  ImagePtr img = screen();
  img_fill_rect(img.get(), 0, 0, 256, 256, 0xE0F008);
  archpath_draw_glow(w.get(), img.get());
  EXPECT_EQ(img_get_pixel(img.get(), 50, 50), 0xFFFF18u);
  EXPECT_EQ(img_get_pixel(img.get(), 65, 65), 0xFFFF18u);
  EXPECT_EQ(img_get_pixel(img.get(), 66, 65), 0xE0F008u);
}

TEST(ArchPath, NullsAndEmptyImagesAreHarmless) {
  ImagePtr img = screen(8, 8);
  archpath_randomize(nullptr);
  archpath_step_swing(nullptr);
  archpath_step_wander(nullptr);
  archpath_step_bounce(nullptr);
  archpath_step_drift(nullptr);
  archpath_draw_dot(nullptr, img.get());
  archpath_draw_sprite(nullptr, img.get());
  archpath_draw_glow(nullptr, img.get());
  ArchPath* none = nullptr;
  archpath_free(&none);
  archpath_free(nullptr);

  WalkerPtr w(archpath_new());
  archpath_draw_dot(w.get(), nullptr);
  archpath_draw_sprite(w.get(), nullptr);
  archpath_draw_glow(w.get(), nullptr);
  // A sprite without pixels has none to pick: no draw, no division by zero.
  img_resize(w->sprite, 0, 0);
  std::srand(8);
  archpath_draw_sprite(w.get(), img.get());
  expect_draws_since(8, 0);
  img_free(&w->sprite);
  img_free(&w->glow);
  archpath_draw_sprite(w.get(), img.get());
  archpath_draw_glow(w.get(), img.get());
  // A step of 0 set from outside still changes circle without a division by zero.
  w->step = 0;
  w->duration = 1;
  archpath_step_drift(w.get());
  EXPECT_GT(w->duration, 0);
  EXPECT_EQ(lit_pixels(img.get()), 0);

  ArchPath* p = archpath_new();
  archpath_free(&p);
  EXPECT_EQ(p, nullptr);
}

}  // namespace
