// Drawing primitives: rectangle fill, the Bresenham line (exact plotted pixels, and agreement of
// the clipped fast walk with the plain per-pixel walk), row fill and blend, and the whole-image
// colour operations.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "image/img.h"
#include "image/imgfx.h"
#include "tests/image/line_reference.h"

namespace {

using Points = std::set<std::pair<int32_t, int32_t>>;

Image* blank(int32_t w, int32_t h) {
  Image* image = img_new();
  img_resize(image, w, h);
  return image;
}

// The (col, row) positions of every pixel that is not 0.
Points lit(const Image* image) {
  Points out;
  for (int32_t row = 0; row < image->height; ++row)
    for (int32_t col = 0; col < image->width; ++col)
      if (img_get_pixel(image, col, row) != 0) out.insert({col, row});
  return out;
}

Points line_points(int32_t w, int32_t h, int32_t c0, int32_t r0, int32_t c1, int32_t r1) {
  Image* image = blank(w, h);
  img_line(image, c0, r0, c1, r1, 0xFFFFFFu);
  Points p = lit(image);
  img_free(&image);
  return p;
}

// The plain walk: every step plotted through the checked setter, which drops what lies outside.
void reference_line(Image* image, int32_t col, int32_t row, int32_t col1, int32_t row1, uint32_t colour) {
  const int32_t ddx = col1 - col, ddy = row1 - row;
  const int32_t stepx = ddx > 0 ? 1 : (ddx < 0 ? -1 : 0), stepy = ddy > 0 ? 1 : (ddy < 0 ? -1 : 0);
  const int32_t ax = std::abs(ddx), ay = std::abs(ddy);
  if (ax > ay) {
    int32_t e = ax >> 1;
    for (int32_t n = 0; n <= ax; ++n) {
      img_set_pixel(image, col, row, colour);
      col += stepx;
      e -= ay;
      if (e <= 0) {
        e += ax;
        row += stepy;
      }
    }
  } else {
    int32_t e = ay >> 1;
    for (int32_t n = 0; n <= ay; ++n) {
      img_set_pixel(image, col, row, colour);
      row += stepy;
      e -= ax;
      if (e <= 0) {
        e += ay;
        col += stepx;
      }
    }
  }
}

TEST(ImgFillRect, NegativeSizesExtendLeftAndUp) {
  Image* image = blank(16, 16);
  img_fill_rect(image, 10, 2, -4, 1, 0x112233u);
  EXPECT_EQ(lit(image), (Points{{6, 2}, {7, 2}, {8, 2}, {9, 2}}));
  EXPECT_EQ(img_get_pixel(image, 6, 2), 0x112233u);
  img_fill_rect(image, 3, 3, 0, 5, 1);
  img_fill_rect(image, 3, 3, 5, 0, 1);
  EXPECT_EQ(lit(image).size(), 4u);
  img_fill_rect(image, 1, 10, 2, -2, 0xFF000001u);  // rows 8, 9; the word is stored unchanged
  EXPECT_EQ(img_get_pixel(image, 1, 8), 0xFF000001u);
  EXPECT_EQ(img_get_pixel(image, 2, 9), 0xFF000001u);
  EXPECT_EQ(img_get_pixel(image, 1, 10), 0u);
  img_free(&image);
}

TEST(ImgFillRect, ClipsToTheImage) {
  Image* image = blank(8, 4);
  img_fill_rect(image, -3, -3, 5, 4, 1);  // cols 0, 1 of row 0
  EXPECT_EQ(lit(image), (Points{{0, 0}, {1, 0}}));
  img_fill_rect(image, 6, 3, 100, 100, 2);
  EXPECT_EQ(img_get_pixel(image, 7, 3), 2u);
  EXPECT_EQ(lit(image).size(), 4u);
  // Edges touching but outside, and extreme values, draw nothing or clip cleanly.
  img_fill_rect(image, -5, 0, 5, 4, 3);
  img_fill_rect(image, 8, 0, 5, 4, 3);
  img_fill_rect(image, 0, 4, 5, 4, 3);
  EXPECT_EQ(lit(image).size(), 4u);
  img_fill_rect(image, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 3);
  EXPECT_EQ(lit(image).size(), 4u);
  img_fill_rect(image, INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN, 5);  // flips to cover everything
  EXPECT_EQ(lit(image).size(), 32u);
  EXPECT_EQ(img_get_pixel(image, 0, 0), 5u);
  img_fill_rect(nullptr, 0, 0, 1, 1, 1);
  img_free(&image);
}

struct LineCase {
  int32_t c0, r0, c1, r1;
  Points plotted;
};

const LineCase kLines[] = {
    {0, 0, 4, 2, {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}},
    {0, 0, 5, 1, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 1}}},
    {0, 0, 1, 5, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}}},
    {3, 3, 3, 3, {{3, 3}}},
    {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
    {4, 2, 0, 0, {{4, 2}, {3, 1}, {2, 1}, {1, 0}, {0, 0}}},  // the reverse walk rounds the other way
    {2, 5, 2, 1, {{2, 5}, {2, 4}, {2, 3}, {2, 2}, {2, 1}}},
    {-1, -1, 0, 0, {{0, 0}}},  // start outside with a major extent of 1
    {-1, -2, 1, 1, {{1, 0}, {1, 1}}},
    {-3, 1, 2, 1, {{0, 1}, {1, 1}, {2, 1}}},
    {-10, -10, -2, -2, {}},
    {8, 0, 12, 4, {}},
};

TEST(ImgLine, PlotsTheBresenhamPixels) {
  for (const LineCase& c : kLines) {
    EXPECT_EQ(line_points(8, 8, c.c0, c.r0, c.c1, c.r1), c.plotted)
        << "(" << c.c0 << "," << c.r0 << ") to (" << c.c1 << "," << c.r1 << ")";
  }
}

TEST(ImgLine, ClippedWalkAgreesWithThePlainWalk) {
  // End points far outside a small image: the fast walk skips the outside steps in closed form
  // and must plot exactly what the plain walk plots.
  std::srand(7316);
  Image* fast = blank(13, 9);
  Image* plain = blank(13, 9);
  for (int n = 0; n < 20000; ++n) {
    const int32_t span = n % 3 == 0 ? 4 : (n % 3 == 1 ? 40 : 400);
    int32_t v[4];
    for (int32_t& x : v) x = std::rand() % (2 * span + 1) - span + 6;
    img_fill_rect(fast, 0, 0, 13, 9, 0);
    img_fill_rect(plain, 0, 0, 13, 9, 0);
    img_line(fast, v[0], v[1], v[2], v[3], 0xFFu);
    reference_line(plain, v[0], v[1], v[2], v[3], 0xFFu);
    ASSERT_EQ(lit(fast), lit(plain)) << "(" << v[0] << "," << v[1] << ") to (" << v[2] << "," << v[3] << ")";
  }
  img_free(&fast);
  img_free(&plain);
}

TEST(ImgLine, ExtremeEndPointsPlotTheExactWalk) {
  // 2^32 - 1 steps each: the walk to the image is skipped in closed form, so these also pin its
  // arithmetic at full scale.
  Image* image = blank(16, 16);
  img_line(image, INT32_MIN, 0, INT32_MAX, 0, 1);  // row 0 across the whole image
  img_line(image, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 2);  // the exact diagonal
  img_line(image, INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX, 3);  // passes (-1, 0): misses
  Points want;
  for (int32_t c = 0; c < 16; ++c) want.insert({c, 0});
  for (int32_t c = 1; c < 16; ++c) want.insert({c, c});
  EXPECT_EQ(lit(image), want);
  EXPECT_EQ(img_get_pixel(image, 0, 0), 2u);
  EXPECT_EQ(img_get_pixel(image, 15, 15), 2u);
  img_free(&image);
  // One row of rise over 2^32 - 1 columns: the error, started at half, runs out exactly at
  // column -1, so the whole visible part lies on row 1; walked backwards it runs out at column 0.
  EXPECT_EQ(line_points(16, 4, INT32_MIN, 0, INT32_MAX, 1),
            (Points{{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1},
                    {8, 1}, {9, 1}, {10, 1}, {11, 1}, {12, 1}, {13, 1}, {14, 1}, {15, 1}}));
  EXPECT_EQ(line_points(16, 4, INT32_MAX, 1, INT32_MIN, 0),
            (Points{{0, 0}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1},
                    {8, 1}, {9, 1}, {10, 1}, {11, 1}, {12, 1}, {13, 1}, {14, 1}, {15, 1}}));
}

// "" when both images hold the same words, else the first differing pixel and both words.
std::string first_difference(const Image* want, const Image* got) {
  for (int32_t row = 0; row < want->height; ++row)
    for (int32_t col = 0; col < want->width; ++col) {
      const uint32_t a = img_get_pixel(want, col, row), b = img_get_pixel(got, col, row);
      if (a != b) {
        char text[80];
        std::snprintf(text, sizeof text, "(%d, %d): want %06x, got %06x", col, row, a, b);
        return text;
      }
    }
  return "";
}

TEST(LineWalk, SteppingWalkersAgreeWithTheSkipWalkers) {
  // End points near the image, far from it, and at the ends of the 32-bit range, where the
  // clipped run starts billions of steps into the walk; both colours of the dithered line too.
  std::mt19937 gen(1316);
  const int32_t spans[] = {6, 60, 600, 3000000, INT32_MAX};
  const std::pair<int32_t, int32_t> sizes[] = {{13, 9}, {9, 13}, {1, 1}, {64, 64}};
  for (const auto& [w, h] : sizes) {
    Image* want = blank(w, h);
    Image* got = blank(w, h);
    for (int n = 0; n < 20000; ++n) {
      const int32_t span = spans[n % 5];
      std::uniform_int_distribution<int64_t> coord(-int64_t(span), int64_t(span));
      int32_t v[4];
      for (int32_t& x : v) x = int32_t(std::clamp<int64_t>(coord(gen) + 6, INT32_MIN, INT32_MAX));
      if (n % 7 == 0) v[2] = v[0] + int32_t(gen() % 3) - 1;   // steep and flat ones at any distance
      if (n % 11 == 0) v[3] = v[1] + int32_t(gen() % 3) - 1;
      img_fill_rect(want, 0, 0, w, h, 0);
      img_fill_rect(got, 0, 0, w, h, 0);
      if (n % 2 == 0) {
        skip_walk_line(want, v[0], v[1], v[2], v[3], 0xFFu);
        img_line(got, v[0], v[1], v[2], v[3], 0xFFu);
      } else {
        skip_walk_line_bicolor(want, v[0], v[1], 0xA0u, v[2], v[3], 0xB0u);
        imgfx_line_bicolor(got, v[0], v[1], 0xA0u, v[2], v[3], 0xB0u);
      }
      ASSERT_EQ(first_difference(want, got), "")
          << w << "x" << h << ", (" << v[0] << "," << v[1] << ") to (" << v[2] << "," << v[3] << ")";
    }
    // Every pair of the image's corners pushed to the range's ends and back inside by 0 or 1.
    const int64_t ends[] = {INT32_MIN, int64_t(INT32_MIN) + 1, -1, 0, int64_t(w) - 1, w, INT32_MAX - 1, INT32_MAX};
    const int64_t rows[] = {INT32_MIN, int64_t(INT32_MIN) + 1, -1, 0, int64_t(h) - 1, h, INT32_MAX - 1, INT32_MAX};
    for (int64_t c0 : ends)
      for (int64_t r0 : rows)
        for (int64_t c1 : ends)
          for (int64_t r1 : rows) {
            img_fill_rect(want, 0, 0, w, h, 0);
            img_fill_rect(got, 0, 0, w, h, 0);
            skip_walk_line_bicolor(want, int32_t(c0), int32_t(r0), 0xA0u, int32_t(c1), int32_t(r1), 0xB0u);
            imgfx_line_bicolor(got, int32_t(c0), int32_t(r0), 0xA0u, int32_t(c1), int32_t(r1), 0xB0u);
            skip_walk_line(want, int32_t(c1), int32_t(r0), int32_t(c0), int32_t(r1), 0xFFu);
            img_line(got, int32_t(c1), int32_t(r0), int32_t(c0), int32_t(r1), 0xFFu);
            ASSERT_EQ(first_difference(want, got), "") << w << "x" << h << ", (" << c0 << "," << r0 << ") to ("
                                                       << c1 << "," << r1 << ")";
          }
    img_free(&want);
    img_free(&got);
  }
}

TEST(ImgRows, FillClipsTheRowAndSkipsEmptyRanges) {
  Image* image = blank(8, 3);
  img_fill_row(image, 0x0A0B0Cu, 1, -5, 2);
  img_fill_row(image, 0x0A0B0Cu, 2, 6, 100);
  img_fill_row(image, 9, 0, 5, 4);  // first > last
  img_fill_row(image, 9, -1, 0, 7);
  img_fill_row(image, 9, 3, 0, 7);
  img_fill_row(image, 9, 0, INT32_MIN, INT32_MIN);
  EXPECT_EQ(lit(image), (Points{{0, 1}, {1, 1}, {2, 1}, {6, 2}, {7, 2}}));
  EXPECT_EQ(img_get_pixel(image, 7, 2), 0x0A0B0Cu);
  img_fill_row(image, 9, 0, INT32_MAX - 1, INT32_MAX);
  EXPECT_EQ(lit(image).size(), 5u);
  img_free(&image);
}

TEST(ImgRows, BlendMixesEachChannelByWeight) {
  Image* image = blank(4, 2);
  img_fill_row(image, 0x10F080u, 0, 0, 3);
  img_blend_row(image, 0x30107Fu, 0, 1, 1, 128);  // plain average, rounded down
  img_blend_row(image, 0x30107Fu, 0, 2, 2, 256);  // the colour alone
  img_blend_row(image, 0x30107Fu, 0, 3, 3, 0);    // the old pixel
  img_blend_row(image, 0xFFFFFFu, 0, -9, 0, 64);  // (old * 192 + 255 * 64) / 256
  EXPECT_EQ(img_get_pixel(image, 1, 0), 0x20807Fu);
  EXPECT_EQ(img_get_pixel(image, 2, 0), 0x30107Fu);
  EXPECT_EQ(img_get_pixel(image, 3, 0), 0x10F080u);
  EXPECT_EQ(img_get_pixel(image, 0, 0), uint32_t((16 * 192 + 255 * 64) / 256) << 16 |
                                            uint32_t((240 * 192 + 255 * 64) / 256) << 8 |
                                            uint32_t((128 * 192 + 255 * 64) / 256));
  img_blend_row(image, 0xFFFFFFu, 1, 0, 3, 128);
  EXPECT_EQ(img_get_pixel(image, 3, 1), 0x7F7F7Fu);
  img_blend_row(image, 0xFFFFFFu, 2, 0, 3, 128);  // outside: silent
  img_free(&image);
}

TEST(ImgColour, SubtractFloorsEachChannel) {
  Image* image = blank(3, 1);
  img_set_pixel(image, 0, 0, 48u << 16 | 64u << 8 | 80u);
  img_set_pixel(image, 1, 0, 0);
  img_set_pixel(image, 2, 0, 0xFFFFFFu);
  img_sub_colour(image, 80u << 16 | 80u << 8 | 0u);
  EXPECT_EQ(img_get_pixel(image, 0, 0), 80u);
  EXPECT_EQ(img_get_pixel(image, 2, 0), 0xAFAFFFu);
  img_sub_colour(image, 0x010101u);
  EXPECT_EQ(img_get_pixel(image, 0, 0), 79u);
  EXPECT_EQ(img_get_pixel(image, 1, 0), 0u);
  EXPECT_EQ(img_get_pixel(image, 2, 0), 0xAEAEFEu);
  img_sub_colour(nullptr, 1);
  img_free(&image);
}

TEST(ImgColour, ScaleTruncatesAndCaps) {
  Image* image = blank(2, 1);
  img_set_pixel(image, 0, 0, 0xFF8003u);
  img_set_pixel(image, 1, 0, 0x405060u);
  img_scale_colour(image, 1, 4);
  EXPECT_EQ(img_get_pixel(image, 0, 0), 0x3F2000u);
  EXPECT_EQ(img_get_pixel(image, 1, 0), 0x101418u);
  img_scale_colour(image, 10, 1);
  EXPECT_EQ(img_get_pixel(image, 0, 0), 0xFFFF00u);
  EXPECT_EQ(img_get_pixel(image, 1, 0), 0xA0C8F0u);
  img_scale_colour(image, -1, 1);  // a negative factor gives black, not spilled channels
  EXPECT_EQ(img_get_pixel(image, 0, 0), 0u);
  img_set_pixel(image, 1, 0, 0x010203u);
  img_scale_colour(image, 5, 0);  // refused
  EXPECT_EQ(img_get_pixel(image, 1, 0), 0x010203u);
  img_scale_colour(nullptr, 1, 4);
  img_free(&image);
}

}  // namespace
