// Image record: creation, resize, pixel access at and beyond the borders, copy, and the clipped
// rectangle transfers (opaque, keyed, at the source's own position).
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "image/img.h"

namespace {

// An image of the given size whose pixel (col, row) is tag(col, row): non-zero and telling.
uint32_t tag(int32_t col, int32_t row) { return 0x010000u | uint32_t(row) << 8 | uint32_t(col); }

Image* tagged(int32_t w, int32_t h) {
  Image* image = img_new();
  img_resize(image, w, h);
  for (int32_t row = 0; row < h; ++row)
    for (int32_t col = 0; col < w; ++col) img_set_pixel(image, col, row, tag(col, row));
  return image;
}

Image* blank(int32_t w, int32_t h) {
  Image* image = img_new();
  img_resize(image, w, h);
  return image;
}

// Counts the pixels that are not 0.
int count_set(const Image* image) {
  int n = 0;
  for (int32_t i = 0; i < image->width * image->height; ++i) n += image->pixels[i] != 0;
  return n;
}

TEST(ImgRecord, NewImageIs16By16Black) {
  Image* image = img_new();
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 16);
  EXPECT_EQ(image->height, 16);
  EXPECT_EQ(image->x, 0);
  EXPECT_EQ(image->y, 0);
  EXPECT_EQ(image->z, 0);
  EXPECT_EQ(image->depth, 0);
  ASSERT_NE(image->pixels, nullptr);
  EXPECT_EQ(count_set(image), 0);
  img_free(&image);
  EXPECT_EQ(image, nullptr);
  img_free(&image);  // second free only reports
  img_free(nullptr);
}

TEST(ImgRecord, ResizeDiscardsThePictureAndKeepsThePosition) {
  Image* image = tagged(16, 16);
  image->x = 7;
  image->y = -3;
  img_resize(image, 256, 256);
  EXPECT_EQ(image->width, 256);
  EXPECT_EQ(image->height, 256);
  EXPECT_EQ(count_set(image), 0);
  EXPECT_EQ(image->x, 7);
  EXPECT_EQ(image->y, -3);
  img_free(&image);
}

TEST(ImgRecord, UnallocatableSizesLeaveAnEmptyImage) {
  for (const auto& [w, h] : std::vector<std::pair<int32_t, int32_t>>{{-1, 4}, {4, -1}, {65536, 65536}, {INT32_MAX, 2}}) {
    Image* image = tagged(4, 4);
    img_resize(image, w, h);
    EXPECT_EQ(image->pixels, nullptr) << w << "x" << h;
    EXPECT_EQ(image->width, 0);
    EXPECT_EQ(image->height, 0);
    // Without a buffer every access is refused.
    img_set_pixel(image, 0, 0, 1);
    EXPECT_EQ(img_get_pixel(image, 0, 0), 0u);
    img_free(&image);
  }
  img_resize(nullptr, 4, 4);
}

TEST(ImgPixels, OutsideReadsZeroAndWritesNothing) {
  Image* image = tagged(5, 3);
  const std::vector<uint32_t> before(image->pixels, image->pixels + 15);
  const std::pair<int32_t, int32_t> outside[] = {{-1, 0}, {0, -1}, {5, 0}, {0, 3}, {INT32_MIN, 0}, {0, INT32_MAX}};
  testing::internal::CaptureStdout();
  for (const auto& [col, row] : outside) {
    EXPECT_EQ(img_get_pixel(image, col, row), 0u) << col << "," << row;
    img_set_pixel(image, col, row, 0xABCDEFu);
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(std::vector<uint32_t>(image->pixels, image->pixels + 15), before);
  // Row-major without pitch; a set word is stored unchanged, top byte included.
  EXPECT_EQ(image->pixels[2 * 5 + 4], tag(4, 2));
  img_set_pixel(image, 4, 2, 0xFF123456u);
  EXPECT_EQ(img_get_pixel(image, 4, 2), 0xFF123456u);
  EXPECT_EQ(image->pixels[14], 0xFF123456u);
  EXPECT_EQ(img_get_pixel(nullptr, 0, 0), 0u);
  img_set_pixel(nullptr, 0, 0, 1);
  img_free(&image);
}

TEST(ImgCopy, SameSizeCopiesMismatchChangesNothing) {
  Image* src = tagged(16, 16);
  Image* dst = blank(16, 16);
  img_copy(src, dst);
  EXPECT_EQ(img_get_pixel(dst, 0, 0), tag(0, 0));
  EXPECT_EQ(img_get_pixel(dst, 15, 15), tag(15, 15));
  Image* big = blank(256, 256);
  img_copy(big, dst);
  img_copy(dst, big);
  img_copy(nullptr, dst);
  img_copy(dst, nullptr);
  EXPECT_EQ(img_get_pixel(dst, 15, 15), tag(15, 15));
  EXPECT_EQ(count_set(big), 0);
  img_free(&src);
  img_free(&dst);
  img_free(&big);
}

struct ClipCase {
  const char* what;
  int32_t sw, sh, dw, dh;          // source and destination sizes
  int32_t sx, sy, dx, dy, w, h;    // arguments
  bool drawn;
  BlitRect out;                    // when drawn
};

const ClipCase kClip[] = {
    {"inside", 16, 16, 256, 256, 2, 3, 10, 20, 4, 5, true, {2, 3, 10, 20, 4, 5}},
    {"sprite to (-8, -8) keeps its lower-right quarter", 16, 16, 256, 256, 0, 0, -8, -8, 16, 16, true, {8, 8, 0, 0, 8, 8}},
    {"dx + w exactly 0", 16, 16, 256, 256, 0, 0, -16, 0, 16, 16, false, {}},
    {"dy + h exactly 0", 16, 16, 256, 256, 0, 0, 0, -16, 16, 16, false, {}},
    {"dx at the last column", 16, 16, 256, 256, 0, 0, 255, 0, 16, 16, true, {0, 0, 255, 0, 1, 16}},
    {"dx at the width", 16, 16, 256, 256, 0, 0, 256, 0, 16, 16, false, {}},
    {"negative source corner shifts the destination", 16, 16, 256, 256, -3, 0, 10, 0, 8, 1, true, {0, 0, 13, 0, 5, 1}},
    {"source past its right edge", 16, 16, 256, 256, 12, 0, 0, 0, 8, 1, true, {12, 0, 0, 0, 4, 1}},
    {"source corner at the width", 16, 16, 256, 256, 16, 0, 0, 0, 8, 1, false, {}},
    {"destination past its bottom edge", 16, 16, 20, 20, 0, 0, 0, 12, 16, 16, true, {0, 0, 0, 12, 16, 8}},
    {"zero width", 16, 16, 256, 256, 0, 0, 0, 0, 0, 16, false, {}},
    {"negative size", 16, 16, 256, 256, 0, 0, 5, 5, -3, 4, false, {}},
    {"extreme corners", 16, 16, 256, 256, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, false, {}},
    {"extreme size clipped to both", 16, 16, 256, 256, 0, 0, -4, -4, INT32_MAX, INT32_MAX, true, {4, 4, 0, 0, 12, 12}},
    {"far left source with huge width", 16, 16, 256, 256, INT32_MIN, 0, 0, 0, INT32_MAX, 1, false, {}},
};

class ImgClip : public testing::TestWithParam<ClipCase> {};

TEST_P(ImgClip, ClipsAgainstBothImages) {
  const ClipCase& c = GetParam();
  Image* src = blank(c.sw, c.sh);
  Image* dst = blank(c.dw, c.dh);
  BlitRect r{-1, -1, -1, -1, -1, -1};
  const bool drawn = img_clip_blit(src, dst, c.sx, c.sy, c.dx, c.dy, c.w, c.h, &r);
  EXPECT_EQ(drawn, c.drawn) << c.what;
  if (drawn && c.drawn) {
    EXPECT_EQ((std::vector<int32_t>{r.sx, r.sy, r.dx, r.dy, r.w, r.h}),
              (std::vector<int32_t>{c.out.sx, c.out.sy, c.out.dx, c.out.dy, c.out.w, c.out.h}))
        << c.what;
  }
  img_free(&src);
  img_free(&dst);
}

INSTANTIATE_TEST_SUITE_P(Cases, ImgClip, testing::ValuesIn(kClip));

TEST(ImgBlit, KeyedSpriteAtNegativeCornerCopiesLowerRightQuarter) {
  Image* sprite = tagged(16, 16);
  img_set_pixel(sprite, 12, 12, 0);  // transparent
  Image* screen = blank(256, 256);
  img_set_pixel(screen, 4, 4, 0x777777u);
  img_blit_keyed(sprite, screen, 0, 0, -8, -8, 16, 16);
  EXPECT_EQ(img_get_pixel(screen, 0, 0), tag(8, 8));
  EXPECT_EQ(img_get_pixel(screen, 7, 0), tag(15, 8));
  EXPECT_EQ(img_get_pixel(screen, 7, 7), tag(15, 15));
  EXPECT_EQ(img_get_pixel(screen, 4, 4), 0x777777u);  // behind the transparent pixel
  EXPECT_EQ(img_get_pixel(screen, 8, 0), 0u);
  EXPECT_EQ(img_get_pixel(screen, 0, 8), 0u);
  EXPECT_EQ(count_set(screen), 64);
  img_free(&sprite);
  img_free(&screen);
}

TEST(ImgBlit, OpaqueCopiesZerosAndClipsColumns) {
  Image* src = tagged(16, 16);
  img_set_pixel(src, 1, 0, 0);
  Image* dst = blank(32, 4);
  img_fill_rect(dst, 0, 0, 32, 4, 0x555555u);
  // Source (-3, 0) to destination (10, 0), width 8: source columns 0 .. 4 land on 13 .. 17.
  img_blit(src, dst, -3, 0, 10, 0, 8, 1);
  EXPECT_EQ(img_get_pixel(dst, 12, 0), 0x555555u);
  EXPECT_EQ(img_get_pixel(dst, 13, 0), tag(0, 0));
  EXPECT_EQ(img_get_pixel(dst, 14, 0), 0u);  // an opaque copy carries black
  EXPECT_EQ(img_get_pixel(dst, 17, 0), tag(4, 0));
  EXPECT_EQ(img_get_pixel(dst, 18, 0), 0x555555u);
  EXPECT_EQ(img_get_pixel(dst, 13, 1), 0x555555u);
  // One column at the right edge.
  img_blit(src, dst, 0, 0, 31, 0, 16, 16);
  EXPECT_EQ(img_get_pixel(dst, 31, 3), tag(0, 3));
  EXPECT_EQ(img_get_pixel(dst, 30, 3), 0x555555u);
  img_free(&src);
  img_free(&dst);
}

TEST(ImgBlit, WithinOneImageCopiesLeftToRightTopDown) {
  // Overlapping ranges inside one image follow the defined order: a shift right by one repeats
  // the first column along the row.
  Image* image = tagged(8, 2);
  img_blit(image, image, 0, 0, 1, 0, 7, 1);
  for (int32_t col = 0; col < 8; ++col) EXPECT_EQ(img_get_pixel(image, col, 0), tag(0, 0)) << col;
  EXPECT_EQ(img_get_pixel(image, 5, 1), tag(5, 1));
  img_free(&image);
}

TEST(ImgBlit, DrawUsesTheSourcePositionAndKey) {
  Image* sprite = tagged(4, 4);
  img_set_pixel(sprite, 0, 0, 0);
  sprite->x = 10;
  sprite->y = 250;
  Image* screen = blank(256, 256);
  img_set_pixel(screen, 10, 250, 0x123456u);
  img_draw(sprite, screen);
  EXPECT_EQ(img_get_pixel(screen, 10, 250), 0x123456u);
  EXPECT_EQ(img_get_pixel(screen, 11, 250), tag(1, 0));
  EXPECT_EQ(img_get_pixel(screen, 13, 253), tag(3, 3));
  EXPECT_EQ(count_set(screen), 16);
  img_draw(nullptr, screen);
  img_draw(sprite, nullptr);
  img_free(&sprite);
  img_free(&screen);
}

TEST(ImgBlit, MissingImagesDrawNothing) {
  Image* src = tagged(4, 4);
  Image* empty = blank(4, 4);
  img_resize(empty, -1, -1);  // no buffer
  Image* dst = blank(4, 4);
  img_blit(nullptr, dst, 0, 0, 0, 0, 4, 4);
  img_blit(empty, dst, 0, 0, 0, 0, 4, 4);
  img_blit_keyed(empty, dst, 0, 0, 0, 0, 4, 4);
  img_blit(src, empty, 0, 0, 0, 0, 4, 4);
  img_blit_keyed(src, nullptr, 0, 0, 0, 0, 4, 4);
  EXPECT_EQ(count_set(dst), 0);
  img_free(&src);
  img_free(&empty);
  img_free(&dst);
}

}  // namespace
