// Raster bars: one table entry per image row, painted opaquely or mixed in with a weight.
#include <gtest/gtest.h>

#include "image/img.h"
#include "text/raster.h"

namespace {

// Entry i is a colour that names it: red i & 255, blue i >> 8, green 0x11.
uint32_t entry_colour(int32_t i) { return uint32_t(i & 255) << 16 | 0x1100u | uint32_t(i >> 8); }

Raster* make_raster(int32_t count) {
  Raster* r = raster_new();
  raster_resize(r, count);
  for (int32_t i = 0; i < count; ++i) r->colours[i] = entry_colour(i);
  return r;
}

Image* make_image(int32_t w, int32_t h, uint32_t fill) {
  Image* img = img_new();
  img_resize(img, w, h);
  img_fill_rect(img, 0, 0, w, h, fill);
  return img;
}

TEST(Raster, NewAndResize) {
  Raster* r = raster_new();
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->count, 256);
  EXPECT_EQ(r->position, 0);
  ASSERT_NE(r->colours, nullptr);
  for (int32_t i = 0; i < 256; ++i) ASSERT_EQ(r->colours[i], 0u) << i;
  r->colours[3] = 0xFFFFFF;
  r->position = 0x50000;
  raster_resize(r, 300);
  EXPECT_EQ(r->count, 300);
  EXPECT_EQ(r->position, 0);
  for (int32_t i = 0; i < 300; ++i) ASSERT_EQ(r->colours[i], 0u) << i;
  raster_resize(nullptr, 4);
  raster_free(&r);
  EXPECT_EQ(r, nullptr);
}

// Opaque rows: every pixel of row i takes entry i mod count.
TEST(Raster, DrawRowsFromTheTable) {
  struct Case {
    int32_t count, width, height;
  } cases[] = {{256, 256, 256}, {256, 3, 300}, {4, 5, 10}, {1, 2, 3}};
  for (const auto& c : cases) {
    Raster* r = make_raster(c.count);
    Image* img = make_image(c.width, c.height, 0x00FF00FF);
    raster_draw_rows(r, img);
    for (int32_t row = 0; row < c.height; ++row) {
      const uint32_t want = entry_colour(row % c.count);
      ASSERT_EQ(img_get_pixel(img, 0, row), want) << c.count << " row " << row;
      ASSERT_EQ(img_get_pixel(img, c.width - 1, row), want) << c.count << " row " << row;
    }
    img_free(&img);
    raster_free(&r);
  }
}

// The 300-row image of the scroller's size: rows 256 .. 299 repeat entries 0 .. 43.
TEST(Raster, RowsBeyondTheTableRepeatIt) {
  Raster* r = make_raster(256);
  Image* img = make_image(2, 300, 0);
  raster_draw_rows(r, img);
  EXPECT_EQ(img_get_pixel(img, 1, 255), entry_colour(255));
  EXPECT_EQ(img_get_pixel(img, 1, 256), entry_colour(0));
  EXPECT_EQ(img_get_pixel(img, 1, 299), entry_colour(43));
  img_free(&img);
  raster_free(&r);
}

// Mixed rows: per channel (old * (256 - w) + entry * w) >> 8.
struct BlendCase {
  uint32_t old_pixel, entry;
  int32_t weight;
  uint32_t want;
};

const BlendCase kBlends[] = {
    {0xFF0000, 0x0000FF, 128, 0x7F007F},  // red under blue, half and half
    {0xFF0000, 0x0000FF, 0, 0xFF0000},
    {0xFF0000, 0x0000FF, 256, 0x0000FF},
    {0x102030, 0x102030, 128, 0x102030},
    {0xFFFFFF, 0x000000, 64, 0xBFBFBF},   // 255 * 192 / 256 = 191.25
    {0x000000, 0xFFFFFF, 64, 0x3F3F3F},
    {0x010203, 0x030201, 128, 0x020202},
    {0x808080, 0x818181, 1, 0x808080},
};

TEST(Raster, BlendRowsWithWeight) {
  for (const auto& c : kBlends) {
    Raster* r = raster_new();
    for (int32_t i = 0; i < r->count; ++i) r->colours[i] = c.entry;
    Image* img = make_image(4, 3, c.old_pixel);
    raster_blend_rows(r, img, c.weight);
    for (int32_t row = 0; row < 3; ++row)
      for (int32_t col = 0; col < 4; ++col)
        ASSERT_EQ(img_get_pixel(img, col, row), c.want) << std::hex << c.old_pixel << " " << c.entry << " w " << c.weight;
    img_free(&img);
    raster_free(&r);
  }
}

// Two rasters as the scroller scene uses them: an opaque background, then a second table mixed
// in at 128, each row with its own entries.
TEST(Raster, OpaqueThenHalfAndHalf) {
  Raster* back = raster_new();
  Raster* over = raster_new();
  for (int32_t i = 0; i < 256; ++i) {
    back->colours[i] = uint32_t(i) << 16;  // red ramp
    over->colours[i] = uint32_t(255 - i);  // blue ramp the other way
  }
  Image* img = make_image(256, 256, 0xFFFFFF);
  raster_draw_rows(back, img);
  raster_blend_rows(over, img, 128);
  const int32_t rows[] = {0, 1, 100, 254, 255};
  for (int32_t row : rows) {
    const uint32_t want = uint32_t(row / 2) << 16 | uint32_t((255 - row) / 2);
    EXPECT_EQ(img_get_pixel(img, 0, row), want) << row;
    EXPECT_EQ(img_get_pixel(img, 255, row), want) << row;
  }
  // Weight 256 is the same as painting opaquely.
  Image* a = make_image(8, 256, 0x123456);
  Image* b = make_image(8, 256, 0x654321);
  raster_draw_rows(over, a);
  raster_blend_rows(over, b, 256);
  for (int32_t row = 0; row < 256; ++row) ASSERT_EQ(img_get_pixel(a, 3, row), img_get_pixel(b, 3, row)) << row;
  img_free(&a);
  img_free(&b);
  img_free(&img);
  raster_free(&back);
  raster_free(&over);
}

TEST(Raster, MissingPartsPaintNothing) {
  Raster* r = make_raster(16);
  Image* img = make_image(4, 4, 0x123456);
  raster_draw_rows(nullptr, img);
  raster_blend_rows(nullptr, img, 128);
  raster_draw_rows(r, nullptr);
  raster_blend_rows(r, nullptr, 128);
  Image* empty = img_new();
  img_resize(empty, 0, 0);
  raster_draw_rows(r, empty);
  img_free(&empty);
  raster_resize(r, 0);  // no table
  raster_draw_rows(r, img);
  raster_blend_rows(r, img, 128);
  EXPECT_EQ(img_get_pixel(img, 0, 0), 0x123456u);
  EXPECT_EQ(img_get_pixel(img, 3, 3), 0x123456u);
  raster_free(&r);
  raster_free(nullptr);
  img_free(&img);
}

}  // namespace
