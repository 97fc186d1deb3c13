// IMGFX: blur, glare and mirrors against plain per-pixel versions on random images, their border
// behaviour at exact pixels, the additive blit, the sparkle's random draws and the dither line.
#include "image/imgfx.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "image/img.h"

namespace {

struct ImageDeleter {
  void operator()(Image* i) const { img_free(&i); }
};
using ImagePtr = std::unique_ptr<Image, ImageDeleter>;

ImagePtr make(int32_t w, int32_t h, uint32_t fill = 0) {
  ImagePtr img(img_new());
  img_resize(img.get(), w, h);
  for (int32_t i = 0; i < w * h; ++i) img->pixels[i] = fill;
  return img;
}

// Random words, top byte included: every effect must ignore it when it takes channels apart.
ImagePtr random_image(int32_t w, int32_t h, std::mt19937& gen) {
  ImagePtr img = make(w, h);
  for (int32_t i = 0; i < w * h; ++i) img->pixels[i] = uint32_t(gen());
  return img;
}

ImagePtr clone(const Image* src) {
  ImagePtr img = make(src->width, src->height);
  img_copy(src, img.get());
  return img;
}

uint32_t grey(uint32_t v) { return v * 0x010101u; }

// First differing pixel, for a readable failure.
std::string first_difference(const Image* a, const Image* b) {
  if (a->width != b->width || a->height != b->height) return "sizes differ";
  for (int32_t r = 0; r < a->height; ++r)
    for (int32_t c = 0; c < a->width; ++c)
      if (img_get_pixel(a, c, r) != img_get_pixel(b, c, r)) {
        char text[96];
        std::snprintf(text, sizeof text, "(%d, %d): %06x vs %06x", c, r, img_get_pixel(a, c, r),
                      img_get_pixel(b, c, r));
        return text;
      }
  return "";
}

// ---- Plain versions, read straight from the definitions: every read and write checked, in the
// defined order, so they also define what happens when source and destination are one image.

uint32_t ch(uint32_t p, int s) { return (p >> s) & 255u; }

void ref_blur(const Image* src, Image* dst, int32_t rr, int32_t rg, int32_t rb) {
  const int32_t radius[3] = {rr, rg, rb};
  const int shifts[3] = {16, 8, 0};
  for (int32_t row = src->height - 1; row >= 0; --row) {
    uint32_t sum[3] = {0, 0, 0};
    // The window -radius .. radius; columns outside the row add 0.
    for (int k = 0; k < 3; ++k)
      for (int64_t i = 0; i <= radius[k] && i < src->width; ++i)
        sum[k] += ch(img_get_pixel(src, int32_t(i), row), shifts[k]);
    for (int32_t col = 0; col < src->width; ++col) {
      uint32_t out = 0;
      for (int k = 0; k < 3; ++k) out |= (sum[k] / (2u * uint32_t(radius[k]) + 1u)) << shifts[k];
      img_set_pixel(dst, col, row, out);
      for (int k = 0; k < 3; ++k) {
        const int64_t in = int64_t(col) + radius[k] + 1, out_col = int64_t(col) - radius[k];
        if (in < src->width) sum[k] += ch(img_get_pixel(src, int32_t(in), row), shifts[k]);
        if (out_col >= 0) sum[k] -= ch(img_get_pixel(src, int32_t(out_col), row), shifts[k]);
      }
    }
  }
}

void ref_glare(const Image* src, Image* dst, int shift) {
  for (int32_t row = src->height - 1; row >= 0; --row)
    for (int32_t col = src->width - 1; col >= 0; --col) {
      uint32_t out = 0;
      for (int s : {16, 8, 0}) {
        uint32_t v = ch(img_get_pixel(src, col, row), s);
        for (int d : {-2, -1, 1, 2}) {
          const uint32_t n = ch(img_get_pixel(src, col + d, row), s);
          v += shift >= 32 ? 0 : n >> shift;
        }
        out |= (v > 255 ? 255 : v) << s;
      }
      img_set_pixel(dst, col, row, out);
    }
}

void ref_mirror4(Image* img) {
  const int32_t w = img->width, h = img->height;
  for (int32_t row = h / 2 - 1; row >= 0; --row)
    for (int32_t col = w / 2 - 1; col >= 0; --col) {
      const uint32_t c = img_get_pixel(img, col, row);
      img_set_pixel(img, w - 1 - col, row, c);
      img_set_pixel(img, col, h - 1 - row, c);
      img_set_pixel(img, w - 1 - col, h - 1 - row, c);
    }
}

void ref_mirror8(Image* img) {
  const int32_t w = img->width, h = img->height;
  for (int32_t row = h / 2 - 1; row >= 0; --row)
    for (int32_t col = w / 2 - 1; col >= row; --col) {
      const uint32_t c = img_get_pixel(img, col, row);
      img_set_pixel(img, w - 1 - col, row, c);
      img_set_pixel(img, col, h - 1 - row, c);
      img_set_pixel(img, w - 1 - col, h - 1 - row, c);
      img_set_pixel(img, row, col, c);
      img_set_pixel(img, row, w - 1 - col, c);
      img_set_pixel(img, h - 1 - row, col, c);
      img_set_pixel(img, h - 1 - row, w - 1 - col, c);
    }
}

void ref_line_bicolor(Image* img, int32_t x0, int32_t y0, uint32_t c0, int32_t x1, int32_t y1, uint32_t c1) {
  const int32_t ddx = x1 - x0, ddy = y1 - y0;
  const int32_t sx = (ddx > 0) - (ddx < 0), sy = (ddy > 0) - (ddy < 0);
  const int32_t ax = std::abs(ddx), ay = std::abs(ddy);
  if (ax == 0 && ay == 0) {
    img_set_pixel(img, x0, y0, c0);
    return;
  }
  const int32_t len = ax > ay ? ax : ay;
  int32_t m = len, k = 0, e = len >> 1, x = x0, y = y0;
  for (int32_t n = 0; n <= len; ++n) {
    m -= k;
    k += 1;
    if (m > 0) {
      img_set_pixel(img, x, y, c0);
    } else {
      img_set_pixel(img, x, y, c1);
      m += len;
    }
    if (ax > ay) {
      x += sx;
      e -= ay;
      if (e <= 0) { e += ax; y += sy; }
    } else {
      y += sy;
      e -= ax;
      if (e <= 0) { e += ay; x += sx; }
    }
  }
}

// ---- Blur

TEST(ImgFxBlur, MatchesPlainVersionOnRandomImages) {
  std::mt19937 gen(7316);
  struct Case { int32_t w, h, rr, rg, rb; };
  const Case cases[] = {
      {256, 256, 2, 2, 2}, {256, 256, 0, 0, 0}, {256, 256, 1, 3, 0}, {37, 9, 7, 0, 5},
      {5, 3, 2, 2, 2},     {1, 4, 2, 1, 0},     {3, 1, 9, 9, 9},     {256, 2, 255, 256, 257},
      {40, 3, 1000000, 39, 40}, {12, 2, INT32_MAX, INT32_MAX - 1, 1 << 30},
  };
  for (const Case& c : cases) {
    ImagePtr src = random_image(c.w, c.h, gen);
    ImagePtr want = make(c.w, c.h, 0x55aa55), got = make(c.w, c.h, 0x55aa55);
    ref_blur(src.get(), want.get(), c.rr, c.rg, c.rb);
    imgfx_blur_h(src.get(), got.get(), c.rr, c.rg, c.rb);
    EXPECT_EQ(first_difference(want.get(), got.get()), "")
        << c.w << "x" << c.h << " radii " << c.rr << "," << c.rg << "," << c.rb;
  }
}

TEST(ImgFxBlur, ZeroRadiiCopyTheChannels) {
  std::mt19937 gen(1);
  ImagePtr src = random_image(31, 7, gen), dst = make(31, 7);
  for (int32_t i = 0; i < 31 * 7; ++i) src->pixels[i] &= 0xffffffu;
  imgfx_blur_h(src.get(), dst.get(), 0, 0, 0);
  EXPECT_EQ(first_difference(src.get(), dst.get()), "");
}

TEST(ImgFxBlur, WhiteRowDarkensTowardsBothEdgesOnly) {
  ImagePtr src = make(256, 3, 0xffffff), dst = make(256, 3, 0x123456);
  imgfx_blur_h(src.get(), dst.get(), 2, 2, 2);
  for (int32_t r = 0; r < 3; ++r) {
    EXPECT_EQ(img_get_pixel(dst.get(), 0, r), grey(153));    // 765 / 5
    EXPECT_EQ(img_get_pixel(dst.get(), 1, r), grey(204));    // 1020 / 5
    EXPECT_EQ(img_get_pixel(dst.get(), 2, r), grey(255));
    EXPECT_EQ(img_get_pixel(dst.get(), 128, r), grey(255));
    EXPECT_EQ(img_get_pixel(dst.get(), 253, r), grey(255));
    EXPECT_EQ(img_get_pixel(dst.get(), 254, r), grey(204));
    EXPECT_EQ(img_get_pixel(dst.get(), 255, r), grey(153));  // the last column is written too
  }
}

TEST(ImgFxBlur, ChannelsKeepTheirOwnRadius) {
  // One pixel of red 250, green 250, blue 250 at column 10; radii 0 (red), 1 (green), 4 (blue).
  ImagePtr src = make(32, 1), dst = make(32, 1);
  img_set_pixel(src.get(), 10, 0, grey(250));
  imgfx_blur_h(src.get(), dst.get(), 0, 1, 4);
  EXPECT_EQ(img_get_pixel(dst.get(), 10, 0), 0xfa531bu);  // 250, 250 / 3, 250 / 9
  EXPECT_EQ(img_get_pixel(dst.get(), 9, 0), 0x00531bu);
  EXPECT_EQ(img_get_pixel(dst.get(), 8, 0), 0x00001bu);
  EXPECT_EQ(img_get_pixel(dst.get(), 6, 0), 0x00001bu);
  EXPECT_EQ(img_get_pixel(dst.get(), 5, 0), 0u);
  EXPECT_EQ(img_get_pixel(dst.get(), 14, 0), 0x00001bu);
  EXPECT_EQ(img_get_pixel(dst.get(), 15, 0), 0u);
}

TEST(ImgFxBlur, DestinationOfAnotherSizeTakesTheOverlap) {
  std::mt19937 gen(2);
  ImagePtr src = random_image(20, 6, gen);
  ImagePtr want_small = make(13, 4, 7), got_small = make(13, 4, 7);
  ref_blur(src.get(), want_small.get(), 2, 3, 1);
  imgfx_blur_h(src.get(), got_small.get(), 2, 3, 1);
  EXPECT_EQ(first_difference(want_small.get(), got_small.get()), "");
  ImagePtr want_big = make(25, 9, 7), got_big = make(25, 9, 7);
  ref_blur(src.get(), want_big.get(), 2, 3, 1);
  imgfx_blur_h(src.get(), got_big.get(), 2, 3, 1);
  EXPECT_EQ(first_difference(want_big.get(), got_big.get()), "");
  EXPECT_EQ(img_get_pixel(got_big.get(), 20, 0), 7u);  // beyond the source: untouched
  EXPECT_EQ(img_get_pixel(got_big.get(), 0, 6), 7u);
}

TEST(ImgFxBlur, SameImageFollowsTheDefinedOrder) {
  std::mt19937 gen(3);
  ImagePtr want = random_image(29, 5, gen);
  ImagePtr got = clone(want.get());
  ref_blur(want.get(), want.get(), 2, 0, 3);
  imgfx_blur_h(got.get(), got.get(), 2, 0, 3);
  EXPECT_EQ(first_difference(want.get(), got.get()), "");
}

TEST(ImgFxBlur, BadArgumentsChangeNothing) {
  ImagePtr src = make(8, 2, 0xffffff), dst = make(8, 2, 0x010203);
  imgfx_blur_h(src.get(), dst.get(), -1, 2, 2);
  imgfx_blur_h(src.get(), dst.get(), 2, 2, INT32_MIN);
  imgfx_blur_h(nullptr, dst.get(), 2, 2, 2);
  imgfx_blur_h(src.get(), nullptr, 2, 2, 2);
  for (int32_t i = 0; i < 16; ++i) EXPECT_EQ(dst->pixels[i], 0x010203u);
}

// ---- Glare

TEST(ImgFxGlare, MatchesPlainVersionOnRandomImages) {
  std::mt19937 gen(42);
  struct Case { int32_t w, h, shift; };
  const Case cases[] = {{256, 256, 3}, {256, 16, 0}, {33, 7, 1}, {33, 7, 2}, {5, 5, 4}, {4, 2, 7},
                        {3, 3, 8},     {2, 2, 3},    {1, 6, 3},  {17, 3, 9}, {17, 3, 31}, {17, 3, 32},
                        {17, 3, 1000}};
  for (const Case& c : cases) {
    ImagePtr src = random_image(c.w, c.h, gen);
    ImagePtr want = make(c.w, c.h, 0xa5a5a5), got = make(c.w, c.h, 0xa5a5a5);
    ref_glare(src.get(), want.get(), c.shift);
    imgfx_glare(src.get(), got.get(), c.shift);
    EXPECT_EQ(first_difference(want.get(), got.get()), "") << c.w << "x" << c.h << " shift " << c.shift;
  }
}

TEST(ImgFxGlare, SingleWhitePixelGlowsAlongItsRowOnly) {
  ImagePtr src = make(16, 5), dst = make(16, 5, 0x777777);
  img_set_pixel(src.get(), 8, 2, 0xffffff);
  imgfx_glare(src.get(), dst.get(), 3);
  const uint32_t row2[16] = {0, 0, 0, 0, 0, 0, grey(31), grey(31), grey(255), grey(31), grey(31), 0, 0, 0, 0, 0};
  for (int32_t c = 0; c < 16; ++c) {
    EXPECT_EQ(img_get_pixel(dst.get(), c, 2), row2[c]) << c;
    EXPECT_EQ(img_get_pixel(dst.get(), c, 1), 0u) << c;
    EXPECT_EQ(img_get_pixel(dst.get(), c, 3), 0u) << c;
  }
}

TEST(ImgFxGlare, SaturatesAndFadesOnlyByMissingNeighboursAtTheBorder) {
  ImagePtr src = make(10, 1, grey(240)), dst = make(10, 1);
  imgfx_glare(src.get(), dst.get(), 3);
  // Column 0 has two neighbours (240 + 60 = 300), column 1 three: both saturate as well.
  for (int32_t c = 0; c < 10; ++c) EXPECT_EQ(img_get_pixel(dst.get(), c, 0), grey(255)) << c;
  // With a dimmer row the border shows: 100 + 2 * 12, 100 + 3 * 12, then 100 + 4 * 12.
  ImagePtr dim = make(10, 1, 0x646464);
  imgfx_glare(dim.get(), dst.get(), 3);
  EXPECT_EQ(img_get_pixel(dst.get(), 0, 0), grey(124));
  EXPECT_EQ(img_get_pixel(dst.get(), 1, 0), grey(136));
  EXPECT_EQ(img_get_pixel(dst.get(), 2, 0), grey(148));
  EXPECT_EQ(img_get_pixel(dst.get(), 9, 0), grey(124));
}

TEST(ImgFxGlare, NeighboursTruncateOneByOne) {
  // Neighbours of 7 with shift 3 each add 0, though together they hold 28.
  ImagePtr src = make(5, 1, 0x070707), dst = make(5, 1);
  img_set_pixel(src.get(), 2, 0, 0x100000);
  imgfx_glare(src.get(), dst.get(), 3);
  EXPECT_EQ(img_get_pixel(dst.get(), 2, 0), 0x100000u);
  EXPECT_EQ(img_get_pixel(dst.get(), 1, 0), 0x090707u);  // red 7 + (16 >> 3)
}

TEST(ImgFxGlare, SameImageFollowsTheDefinedOrder) {
  std::mt19937 gen(5);
  ImagePtr want = random_image(23, 4, gen);
  ImagePtr got = clone(want.get());
  ref_glare(want.get(), want.get(), 2);
  imgfx_glare(got.get(), got.get(), 2);
  EXPECT_EQ(first_difference(want.get(), got.get()), "");
}

TEST(ImgFxGlare, BadArgumentsChangeNothing) {
  ImagePtr src = make(8, 2, 0xffffff), dst = make(8, 2, 0x010203);
  imgfx_glare(nullptr, dst.get(), 3);
  imgfx_glare(src.get(), nullptr, 3);
  imgfx_glare(src.get(), dst.get(), -1);
  for (int32_t i = 0; i < 16; ++i) EXPECT_EQ(dst->pixels[i], 0x010203u);
}

// ---- Mirrors

TEST(ImgFxMirror, MatchPlainVersionsOnRandomImages) {
  std::mt19937 gen(9);
  const std::pair<int32_t, int32_t> sizes[] = {{256, 256}, {7, 7}, {8, 8}, {1, 1}, {2, 2},
                                               {10, 4},    {4, 10}, {9, 6}, {1, 5}, {6, 1}};
  for (auto [w, h] : sizes) {
    ImagePtr want4 = random_image(w, h, gen), got4 = clone(want4.get());
    ref_mirror4(want4.get());
    imgfx_mirror4(got4.get());
    EXPECT_EQ(first_difference(want4.get(), got4.get()), "") << "mirror4 " << w << "x" << h;
    ImagePtr want8 = random_image(w, h, gen), got8 = clone(want8.get());
    ref_mirror8(want8.get());
    imgfx_mirror8(got8.get());
    EXPECT_EQ(first_difference(want8.get(), got8.get()), "") << "mirror8 " << w << "x" << h;
  }
}

TEST(ImgFxMirror, FourWayKeepsTheQuarterAndMirrorsIt) {
  std::mt19937 gen(11);
  ImagePtr img = random_image(256, 256, gen), before = clone(img.get());
  imgfx_mirror4(img.get());
  for (int32_t r = 0; r < 128; ++r)
    for (int32_t c = 0; c < 128; ++c) {
      const uint32_t p = img_get_pixel(before.get(), c, r);
      ASSERT_EQ(img_get_pixel(img.get(), c, r), p);
      ASSERT_EQ(img_get_pixel(img.get(), 255 - c, r), p);
      ASSERT_EQ(img_get_pixel(img.get(), c, 255 - r), p);
      ASSERT_EQ(img_get_pixel(img.get(), 255 - c, 255 - r), p);
    }
}

TEST(ImgFxMirror, OddSizesLeaveTheMiddleLines) {
  ImagePtr img = make(5, 3, 0x111111);
  img_set_pixel(img.get(), 0, 0, 0xff0000);
  img_set_pixel(img.get(), 1, 0, 0x00ff00);
  imgfx_mirror4(img.get());
  EXPECT_EQ(img_get_pixel(img.get(), 4, 0), 0xff0000u);
  EXPECT_EQ(img_get_pixel(img.get(), 3, 2), 0x00ff00u);
  EXPECT_EQ(img_get_pixel(img.get(), 2, 0), 0x111111u);  // middle column
  EXPECT_EQ(img_get_pixel(img.get(), 0, 1), 0x111111u);  // middle row
}

TEST(ImgFxMirror, EightWayIsSymmetricAboutCentreLinesAndDiagonals) {
  std::mt19937 gen(13);
  ImagePtr img = random_image(256, 256, gen), before = clone(img.get());
  imgfx_mirror8(img.get());
  for (int32_t r = 0; r < 256; ++r)
    for (int32_t c = 0; c < 256; ++c) {
      const uint32_t p = img_get_pixel(img.get(), c, r);
      ASSERT_EQ(img_get_pixel(img.get(), r, c), p) << c << "," << r;
      ASSERT_EQ(img_get_pixel(img.get(), 255 - c, r), p) << c << "," << r;
      ASSERT_EQ(img_get_pixel(img.get(), c, 255 - r), p) << c << "," << r;
      ASSERT_EQ(img_get_pixel(img.get(), 255 - r, 255 - c), p) << c << "," << r;
    }
  // The source is the quarter's triangle on and above its diagonal.
  EXPECT_EQ(img_get_pixel(img.get(), 100, 3), img_get_pixel(before.get(), 100, 3));
  EXPECT_EQ(img_get_pixel(img.get(), 3, 100), img_get_pixel(before.get(), 100, 3));
  EXPECT_EQ(img_get_pixel(img.get(), 127, 127), img_get_pixel(before.get(), 127, 127));
}

TEST(ImgFxMirror, MissingImageOrBufferIsIgnored) {
  imgfx_mirror4(nullptr);
  imgfx_mirror8(nullptr);
  Image bare{0, 0, 0, 8, 8, 0, nullptr};
  imgfx_mirror4(&bare);
  imgfx_mirror8(&bare);
  EXPECT_EQ(bare.pixels, nullptr);
}

// ---- Additive blit

TEST(ImgFxBlitAdd, AddsPerChannelWithSaturation) {
  ImagePtr src = make(4, 4, 0xc86400), dst = make(8, 8, 0x64640a);
  img_set_pixel(src.get(), 1, 1, 0);
  img_set_pixel(src.get(), 2, 2, 0xff000000u | 0x010101u);  // top byte is not a channel
  imgfx_blit_add(src.get(), dst.get(), 0, 0, 2, 3, 4, 4);
  EXPECT_EQ(img_get_pixel(dst.get(), 2, 3), 0xffc80au);  // 255, 200, 10
  EXPECT_EQ(img_get_pixel(dst.get(), 3, 4), 0x64640au);  // a source 0 leaves it
  EXPECT_EQ(img_get_pixel(dst.get(), 4, 5), 0x65650bu);
  EXPECT_EQ(img_get_pixel(dst.get(), 1, 3), 0x64640au);  // outside the rectangle
  EXPECT_EQ(img_get_pixel(dst.get(), 6, 3), 0x64640au);
  EXPECT_EQ(img_get_pixel(dst.get(), 5, 7), 0x64640au);  // rows 3 .. 6 only
  EXPECT_EQ(img_get_pixel(dst.get(), 5, 6), 0xffc80au);
}

TEST(ImgFxBlitAdd, ClipsLikeTheBlits) {
  ImagePtr src = make(16, 16), dst = make(256, 256);
  for (int32_t r = 0; r < 16; ++r)
    for (int32_t c = 0; c < 16; ++c) img_set_pixel(src.get(), c, r, uint32_t(r * 16 + c));
  imgfx_blit_add(src.get(), dst.get(), 0, 0, -8, -8, 16, 16);
  EXPECT_EQ(img_get_pixel(dst.get(), 0, 0), uint32_t(8 * 16 + 8));
  EXPECT_EQ(img_get_pixel(dst.get(), 7, 7), uint32_t(15 * 16 + 15));
  EXPECT_EQ(img_get_pixel(dst.get(), 8, 0), 0u);
  EXPECT_EQ(img_get_pixel(dst.get(), 0, 8), 0u);
  // Negative source corner shifts the destination corner: source columns 0..4 to 13..17.
  ImagePtr row = make(256, 1);
  imgfx_blit_add(src.get(), row.get(), -3, 0, 10, 0, 8, 1);
  EXPECT_EQ(img_get_pixel(row.get(), 12, 0), 0u);
  EXPECT_EQ(img_get_pixel(row.get(), 13, 0), 0u);  // source (0, 0) holds 0
  EXPECT_EQ(img_get_pixel(row.get(), 14, 0), 1u);
  EXPECT_EQ(img_get_pixel(row.get(), 17, 0), 4u);
  EXPECT_EQ(img_get_pixel(row.get(), 18, 0), 0u);
  // Fully outside, or with a missing image: nothing.
  ImagePtr before = clone(dst.get());
  imgfx_blit_add(src.get(), dst.get(), 0, 0, 256, 0, 16, 16);
  imgfx_blit_add(src.get(), dst.get(), 0, 0, -16, 0, 16, 16);
  imgfx_blit_add(nullptr, dst.get(), 0, 0, 0, 0, 16, 16);
  imgfx_blit_add(src.get(), nullptr, 0, 0, 0, 0, 16, 16);
  EXPECT_EQ(first_difference(before.get(), dst.get()), "");
}

TEST(ImgFxBlitAdd, WithinOneImageAddsInRowOrder) {
  // Overlapping rectangles of one image: each pixel reads what earlier pixels of the walk wrote.
  ImagePtr img = make(4, 1, 0x010101);
  imgfx_blit_add(img.get(), img.get(), 0, 0, 1, 0, 3, 1);
  EXPECT_EQ(img_get_pixel(img.get(), 0, 0), 0x010101u);
  EXPECT_EQ(img_get_pixel(img.get(), 1, 0), 0x020202u);
  EXPECT_EQ(img_get_pixel(img.get(), 2, 0), 0x030303u);
  EXPECT_EQ(img_get_pixel(img.get(), 3, 0), 0x040404u);
}

// ---- Sparkle

TEST(ImgFxSparkle, CopiesThePickedNonZeroPixelsAtTheSpritePosition) {
  ImagePtr sprite = make(5, 3), dst = make(64, 64), want = make(64, 64);
  for (int32_t r = 0; r < 3; ++r)
    for (int32_t c = 0; c < 5; ++c) img_set_pixel(sprite.get(), c, r, (c + r) % 3 ? uint32_t(0x100 * (c + 1) + r + 1) : 0u);
  sprite->x = 40;
  sprite->y = -1;  // the top row falls outside
  std::srand(99);
  for (int n = 0; n < 18; ++n) {
    const int32_t c = std::rand() % 5;
    const int32_t r = std::rand() % 3;
    const uint32_t p = img_get_pixel(sprite.get(), c, r);
    if (p) img_set_pixel(want.get(), 40 + c, r - 1, p);
  }
  const int after = std::rand();
  std::srand(99);
  imgfx_sparkle(dst.get(), sprite.get(), 18);
  EXPECT_EQ(std::rand(), after);  // exactly two draws per pick
  EXPECT_EQ(first_difference(want.get(), dst.get()), "");
}

TEST(ImgFxSparkle, ClipsEachLitPixelAtTheFarEdgesAndIntoItsOwnImage) {
  // A sprite hanging over the right and bottom edges lights only its pixels inside; sprayed onto
  // itself, a pick reads what earlier picks wrote.
  ImagePtr sprite = make(4, 4), dst = make(10, 6), want = make(10, 6);
  for (int32_t i = 0; i < 16; ++i) sprite->pixels[i] = uint32_t(0x010203 * (i + 1));
  sprite->x = 8;
  sprite->y = 3;
  std::srand(7);
  for (int n = 0; n < 40; ++n) {
    const int32_t c = std::rand() % 4;
    const int32_t r = std::rand() % 4;
    img_set_pixel(want.get(), 8 + c, 3 + r, img_get_pixel(sprite.get(), c, r));
  }
  const int after = std::rand();
  std::srand(7);
  imgfx_sparkle(dst.get(), sprite.get(), 40);
  EXPECT_EQ(std::rand(), after);
  EXPECT_EQ(first_difference(want.get(), dst.get()), "");

  ImagePtr self = make(3, 1), self_want = make(3, 1);
  self->pixels[0] = 0x0000ff;
  self_want->pixels[0] = 0x0000ff;
  self->x = self_want->x = 1;   // pixel c lands on pixel c + 1 of the same image
  std::srand(11);
  for (int n = 0; n < 12; ++n) {
    const int32_t c = std::rand() % 3;
    std::rand();
    const uint32_t p = img_get_pixel(self_want.get(), c, 0);
    if (p) img_set_pixel(self_want.get(), 1 + c, 0, p);
  }
  std::srand(11);
  imgfx_sparkle(self.get(), self.get(), 12);
  EXPECT_EQ(first_difference(self_want.get(), self.get()), "");
}

TEST(ImgFxSparkle, WithoutPixelBuffersStillDrawsTwoNumbersPerPick) {
  ImagePtr sprite = make(4, 4, 0xffffff), dst = make(8, 8);
  Image bare{0, 0, 0, 8, 8, 0, nullptr};
  std::srand(3);
  for (int n = 0; n < 10; ++n) std::rand();
  const int after = std::rand();
  std::srand(3);
  imgfx_sparkle(&bare, sprite.get(), 3);   // lit picks, nowhere to write
  imgfx_sparkle(dst.get(), &bare, 2);      // nothing to read: every pick is 0
  EXPECT_EQ(std::rand(), after);
  for (int32_t i = 0; i < 64; ++i) EXPECT_EQ(dst->pixels[i], 0u);
}

TEST(ImgFxSparkle, NothingToDoDrawsNoRandomNumbers) {
  ImagePtr sprite = make(4, 4, 0xffffff), dst = make(8, 8);
  Image empty{0, 0, 0, 0, 4, 0, nullptr};
  std::srand(5);
  const int first = std::rand();
  std::srand(5);
  imgfx_sparkle(dst.get(), sprite.get(), 0);
  imgfx_sparkle(dst.get(), sprite.get(), -3);
  imgfx_sparkle(nullptr, sprite.get(), 5);
  imgfx_sparkle(dst.get(), nullptr, 5);
  imgfx_sparkle(dst.get(), &empty, 5);  // no pixel to pick from
  EXPECT_EQ(std::rand(), first);
  for (int32_t i = 0; i < 64; ++i) EXPECT_EQ(dst->pixels[i], 0u);
}

// ---- Two-colour line

constexpr uint32_t A = 0x0000aa, B = 0xbb0000;

// Colours along a horizontal line of length len, as a string of '0' (colour0) and '1' (colour1).
std::string pattern(int32_t len, Image* img) {
  std::string s;
  for (int32_t c = 0; c <= len; ++c) {
    const uint32_t p = img_get_pixel(img, c, 0);
    s += p == A ? '0' : p == B ? '1' : '?';
  }
  return s;
}

TEST(ImgFxLine, DitherPatterns) {
  struct Case { int32_t len; const char* want; };
  const Case cases[] = {
      {0, "0"},    {1, "01"},     {2, "001"},        {3, "0011"},
      {4, "00011"}, {8, "000010111"}, {16, "00000010101101111"},
  };
  for (const Case& c : cases) {
    ImagePtr img = make(32, 1);
    imgfx_line_bicolor(img.get(), 0, 0, A, c.len, 0, B);
    EXPECT_EQ(pattern(c.len, img.get()), c.want) << "length " << c.len;
    EXPECT_EQ(img_get_pixel(img.get(), c.len + 1, 0), 0u);
  }
}

TEST(ImgFxLine, FollowsTheLineWalkInEveryDirection) {
  // Same pixels as the plain line: (0,0)-(4,2) plots (0,0) (1,1) (2,1) (3,2) (4,2).
  ImagePtr img = make(8, 8);
  imgfx_line_bicolor(img.get(), 0, 0, A, 4, 2, B);
  EXPECT_EQ(img_get_pixel(img.get(), 0, 0), A);
  EXPECT_EQ(img_get_pixel(img.get(), 1, 1), A);
  EXPECT_EQ(img_get_pixel(img.get(), 2, 1), A);
  EXPECT_EQ(img_get_pixel(img.get(), 3, 2), B);
  EXPECT_EQ(img_get_pixel(img.get(), 4, 2), B);
  EXPECT_EQ(img_get_pixel(img.get(), 1, 0), 0u);
  // Backwards and vertical: the dither runs from the first end point.
  ImagePtr col = make(1, 10);
  imgfx_line_bicolor(col.get(), 0, 8, A, 0, 0, B);
  const char* want = "111010000";  // rows 0..8: the pattern of length 8 read from row 8 up
  for (int32_t r = 0; r <= 8; ++r) EXPECT_EQ(img_get_pixel(col.get(), 0, r), want[r] == '0' ? A : B) << r;
}

TEST(ImgFxLine, MatchesPlainVersionOnRandomLinesWithClipping) {
  std::mt19937 gen(77);
  std::uniform_int_distribution<int32_t> coord(-300, 560);
  for (int n = 0; n < 3000; ++n) {
    const int32_t x0 = coord(gen), y0 = coord(gen), x1 = coord(gen), y1 = coord(gen);
    ImagePtr want = make(256, 200), got = make(256, 200);
    ref_line_bicolor(want.get(), x0, y0, A, x1, y1, B);
    imgfx_line_bicolor(got.get(), x0, y0, A, x1, y1, B);
    ASSERT_EQ(first_difference(want.get(), got.get()), "") << x0 << "," << y0 << " to " << x1 << "," << y1;
  }
  // Short lines near the corners, all directions, lengths 1 and 2 included.
  for (int32_t x0 = -3; x0 <= 3; ++x0)
    for (int32_t y0 = -3; y0 <= 3; ++y0)
      for (int32_t dx = -3; dx <= 3; ++dx)
        for (int32_t dy = -3; dy <= 3; ++dy) {
          ImagePtr want = make(4, 3), got = make(4, 3);
          ref_line_bicolor(want.get(), x0, y0, A, x0 + dx, y0 + dy, B);
          imgfx_line_bicolor(got.get(), x0, y0, A, x0 + dx, y0 + dy, B);
          ASSERT_EQ(first_difference(want.get(), got.get()), "")
              << x0 << "," << y0 << " by " << dx << "," << dy;
        }
}

TEST(ImgFxLine, FarEndPointsAreClippedWithoutWalkingOutside) {
  // Millions of steps outside the image before and after the visible part: the dither state on
  // entry must be the one the whole walk reaches.
  struct Case { int32_t x0, y0, x1, y1; };
  const Case cases[] = {{-3000000, -1000000, 3000000, 1000064},
                        {2999999, 40, -3000001, 20},
                        {17, -2500000, 50, 2500003},
                        {-1999999, 2000063, 2000000, -1999936}};
  for (const Case& c : cases) {
    ImagePtr want = make(64, 64), got = make(64, 64);
    ref_line_bicolor(want.get(), c.x0, c.y0, A, c.x1, c.y1, B);
    imgfx_line_bicolor(got.get(), c.x0, c.y0, A, c.x1, c.y1, B);
    EXPECT_EQ(first_difference(want.get(), got.get()), "") << c.x0 << "," << c.y0;
  }
  // Ends beyond the 32-bit difference range: no overflow, only the visible 16 pixels are walked.
  ImagePtr img = make(16, 1);
  imgfx_line_bicolor(img.get(), INT32_MIN, 0, A, INT32_MAX, 0, B);
  for (int32_t c = 0; c < 16; ++c) {
    const uint32_t p = img_get_pixel(img.get(), c, 0);
    EXPECT_TRUE(p == A || p == B) << c;
  }
  imgfx_line_bicolor(nullptr, 0, 0, A, 5, 5, B);  // reports per the image module, draws nothing
}

}  // namespace
