// Point and segment arithmetic: rotation through the sine table, wrapping products, drawing.
#include <gtest/gtest.h>

#include "image/img.h"
#include "vector/seg2d.h"
#include "vector/vec2d.h"

namespace {

struct RotateCase {
  int32_t x, y, angle;
  int32_t want_x, want_y;
};

const RotateCase kRotations[] = {
    {8, 0, 0, 8, 0},         // angle 0 is skipped: exact
    {8, 0, 1024, 7, 0},      // a full turn is not skipped and contracts
    {100, 0, 256, 0, 99},    // peak 32766 and a flooring shift
    {100, 0, -256, 0, -100}, // negative angles index the table too; floor goes down
    {100, 0, -768, 0, 99},   // same as 256
    {4, 4, 512, -4, -4},     // half turn
    {0, 0, 300, 0, 0},
    {-8, 0, 2048, -8, 0},    // (-8 * 32766) >> 15 floors to -8
};

TEST(Vec2d, RotationTable) {
  for (const auto& c : kRotations) {
    Vec2d p{c.x, c.y, 0x123456};
    vec2d_rotate(&p, c.angle);
    EXPECT_EQ(p.x, c.want_x) << c.x << "," << c.y << " by " << c.angle;
    EXPECT_EQ(p.y, c.want_y) << c.x << "," << c.y << " by " << c.angle;
    EXPECT_EQ(p.colour, 0x123456u);
  }
}

TEST(Vec2d, NewCopyAddMul) {
  Vec2d* p = vec2d_new();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->x, 0);
  EXPECT_EQ(p->y, 0);
  EXPECT_EQ(p->colour, 0xFFFFFFu);

  const Vec2d src{3, -4, 0xFF0000};
  vec2d_copy(&src, p);
  EXPECT_EQ(p->x, 3);
  EXPECT_EQ(p->y, -4);
  EXPECT_EQ(p->colour, 0xFF0000u);

  // The second argument is the one that changes; colour untouched.
  const Vec2d offset{10, 20, 0x00FF00};
  vec2d_add(&offset, p);
  EXPECT_EQ(p->x, 13);
  EXPECT_EQ(p->y, 16);
  EXPECT_EQ(p->colour, 0xFF0000u);
  EXPECT_EQ(offset.x, 10);

  const Vec2d factor{-2, 3, 0};
  vec2d_mul(p, &factor);
  EXPECT_EQ(p->x, -26);
  EXPECT_EQ(p->y, 48);

  // Products wrap at 32 bits.
  Vec2d big{0x10000, 0x40000000, 0};
  const Vec2d f{0x10000, 4, 0};
  vec2d_mul(&big, &f);
  EXPECT_EQ(big.x, 0);
  EXPECT_EQ(big.y, 0);

  vec2d_free(&p);
  EXPECT_EQ(p, nullptr);
}

TEST(Vec2d, NullArgumentsChangeNothing) {
  Vec2d p{1, 2, 3};
  vec2d_copy(nullptr, &p);
  vec2d_add(nullptr, &p);
  vec2d_mul(&p, nullptr);
  vec2d_rotate(nullptr, 5);
  vec2d_free(nullptr);
  EXPECT_EQ(p.x, 1);
  EXPECT_EQ(p.y, 2);
  EXPECT_EQ(p.colour, 3u);
}

// VEC2D is the one module whose report switch is on: each refused call prints its message once
// on standard output. SEG2D's switch is off: its refusals print nothing, and a segment refusing
// a null argument does not pass it on to VEC2D.
TEST(Vec2d, ReportsRefusedCallsAndSeg2dStaysSilent) {
  Vec2d p{1, 2, 3};
  testing::internal::CaptureStdout();
  vec2d_copy(&p, nullptr);
  vec2d_add(&p, nullptr);
  vec2d_mul(nullptr, &p);
  vec2d_rotate(nullptr, 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "VEC2D error\nVEC2D error\nVEC2D error\nVEC2D error\n");

  Seg2d s{{1, 1, 0}, {2, 2, 0}};
  testing::internal::CaptureStdout();
  vec2d_rotate(&p, 300);  // accepted calls print nothing
  seg2d_copy(nullptr, &s);
  seg2d_translate(&s, nullptr);
  seg2d_scale(&s, nullptr);
  seg2d_rotate(nullptr, 5);
  seg2d_draw(nullptr, nullptr);
  seg2d_free(nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(s.a.x, 1);
  EXPECT_EQ(s.b.y, 2);
}

TEST(Seg2d, NewIsWhiteDiagonal) {
  Seg2d* s = seg2d_new();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->a.x, 0);
  EXPECT_EQ(s->a.y, 0);
  EXPECT_EQ(s->b.x, 1);
  EXPECT_EQ(s->b.y, 1);
  EXPECT_EQ(s->a.colour, 0xFFFFFFu);
  EXPECT_EQ(s->b.colour, 0xFFFFFFu);
  seg2d_free(&s);
  EXPECT_EQ(s, nullptr);
}

TEST(Seg2d, ScaleRotateTranslateCopy) {
  Seg2d s{{1, 1, 0xFF}, {4, 5, 0xFF00}};
  const Vec2d factor{2, 3, 0};
  seg2d_scale(&s, &factor);
  EXPECT_EQ(s.a.x, 2);
  EXPECT_EQ(s.a.y, 3);
  EXPECT_EQ(s.b.x, 8);
  EXPECT_EQ(s.b.y, 15);

  seg2d_rotate(&s, 512);
  EXPECT_EQ(s.a.x, -2);
  EXPECT_EQ(s.a.y, -3);
  EXPECT_EQ(s.b.x, -8);
  EXPECT_EQ(s.b.y, -15);

  const Vec2d offset{10, 20, 0};
  seg2d_translate(&s, &offset);
  EXPECT_EQ(s.a.x, 8);
  EXPECT_EQ(s.a.y, 17);
  EXPECT_EQ(s.b.x, 2);
  EXPECT_EQ(s.b.y, 5);

  Seg2d d{};
  seg2d_copy(&s, &d);
  EXPECT_EQ(d.a.x, 8);
  EXPECT_EQ(d.b.y, 5);
  EXPECT_EQ(d.a.colour, 0xFFu);
  EXPECT_EQ(d.b.colour, 0xFF00u);
}

TEST(Seg2d, DrawsInColourOfEndA) {
  Image* img = img_new();
  ASSERT_NE(img, nullptr);
  img_resize(img, 8, 8);
  const Seg2d s{{1, 2, 0xFF0000}, {4, 2, 0x00FF00}};
  seg2d_draw(&s, img);
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(img_get_pixel(img, c, 2), 0xFF0000u) << c;
  EXPECT_EQ(img_get_pixel(img, 0, 2), 0u);
  EXPECT_EQ(img_get_pixel(img, 5, 2), 0u);
  EXPECT_EQ(img_get_pixel(img, 1, 1), 0u);
  seg2d_draw(nullptr, img);  // nothing
  img_free(&img);
}

}  // namespace
