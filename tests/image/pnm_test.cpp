// Anymap decoding: the six types, the header's gaps and comments, bitmap width rounding, and
// malformed, truncated and oversized pictures, which must fail without reading past the buffer.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "image/img.h"

namespace {

using Bytes = std::string;

// Decodes a copy held in a heap block of exactly the picture's size, so that the sanitizer build
// catches any read past the end.
Image* decode(const Bytes& picture) {
  std::vector<unsigned char> exact(picture.begin(), picture.end());
  return img_read_pnm(exact.empty() ? reinterpret_cast<const unsigned char*>("") : exact.data(), exact.size());
}

// The decoded pixels row-major, or nothing for a failed decode; the size goes to w and h.
std::vector<uint32_t> pixels_of(const Bytes& picture, int32_t* w = nullptr, int32_t* h = nullptr) {
  Image* image = decode(picture);
  if (!image) return {};
  if (w) *w = image->width;
  if (h) *h = image->height;
  std::vector<uint32_t> out(image->pixels, image->pixels + std::size_t(image->width) * std::size_t(image->height));
  EXPECT_EQ(image->x, 0);
  EXPECT_EQ(image->y, 0);
  img_free(&image);
  return out;
}

TEST(PnmDecode, RawGreyWithCommentLine) {
  int32_t w = 0, h = 0;
  const Bytes pgm = Bytes("P5\n# made by hand\n2 1\n255\n") + '\0' + '\x80';
  EXPECT_EQ(pixels_of(pgm, &w, &h), (std::vector<uint32_t>{0u, 0x808080u}));
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, 1);
}

TEST(PnmDecode, RawPixmapIsRowMajorRgb) {
  Bytes ppm = "P6\n16 256\n255\n";
  for (int i = 0; i < 16 * 256 * 3; ++i) ppm += char((i * 7 + i / 3) & 255);
  Image* image = decode(ppm);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 16);
  EXPECT_EQ(image->height, 256);
  // The first three raster bytes are (0, 0); pixel (col, row) starts at byte 3 * (row * 16 + col).
  auto expect_at = [&](int32_t col, int32_t row) {
    const int n = 3 * (row * 16 + col);
    auto byte = [](int i) { return uint32_t((i * 7 + i / 3) & 255); };
    EXPECT_EQ(img_get_pixel(image, col, row), byte(n) << 16 | byte(n + 1) << 8 | byte(n + 2)) << col << "," << row;
  };
  expect_at(0, 0);
  expect_at(1, 0);
  expect_at(15, 0);
  expect_at(0, 1);
  expect_at(15, 255);
  img_free(&image);
}

TEST(PnmDecode, GapsAndCommentsBetweenHeaderNumbers) {
  // Any run of bytes up to 0x20 or from 0x7F separates the fields; a comment may follow a number
  // directly. The one byte after the maxval, whatever it is, ends the header.
  const Bytes pgm = Bytes("P5\t\r\x01 3# width\n#second comment\n\x7f\xff") + "1\x1f\x02" + "255\x05" + "abc";
  EXPECT_EQ(pixels_of(pgm), (std::vector<uint32_t>{0x616161u, 0x626262u, 0x636363u}));
}

TEST(PnmDecode, RawSamplesAreTakenUnchanged) {
  // Raster bytes that look like white space or comments are pixels; the maxval does not scale.
  EXPECT_EQ(pixels_of("P5 4 1 15\n \n#\xc8"), (std::vector<uint32_t>{0x202020u, 0x0A0A0Au, 0x232323u, 0xC8C8C8u}));
  EXPECT_EQ(pixels_of("P6 1 1 255\n\n\t "), (std::vector<uint32_t>{0x0A0920u}));
}

TEST(PnmDecode, RawBitmapRoundsWidthToWholeBytes) {
  int32_t w = 0, h = 0;
  // Width 10 is stored as 16; each row takes two bytes, most significant bit first, set is white.
  const std::vector<uint32_t> px = pixels_of("P4\n10 2\n\xA0\x01\x80\xFF", &w, &h);
  ASSERT_EQ(w, 16);
  ASSERT_EQ(h, 2);
  const uint32_t W = 0xFFFFFF;
  EXPECT_EQ(px, (std::vector<uint32_t>{W, 0, W, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, W,  //
                                       W, 0, 0, 0, 0, 0, 0, 0, W, W, W, W, W, W, W, W}));
}

TEST(PnmDecode, AsciiBitmapTakesOneDigitPerPixel) {
  int32_t w = 0, h = 0;
  // P1 keeps its declared width; digits need no separators and any non-zero digit is white.
  const uint32_t W = 0xFFFFFF;
  EXPECT_EQ(pixels_of("P1\n3 2\n1 0 1\nx0#07", &w, &h), (std::vector<uint32_t>{W, 0, W, 0, 0, W}));
  EXPECT_EQ(w, 3);
  EXPECT_EQ(pixels_of("P1 4 1\n0190"), (std::vector<uint32_t>{0, W, W, 0}));
}

TEST(PnmDecode, AsciiSamplesAboveByteRangeAreCapped) {
  // A value above 255 is 255 in its own channel and never reaches the neighbouring one.
  EXPECT_EQ(pixels_of("P2 4 1 255\n0 17,300\n99999999999999999999999"),
            (std::vector<uint32_t>{0u, 0x111111u, 0xFFFFFFu, 0xFFFFFFu}));
  EXPECT_EQ(pixels_of("P3 2 1 255\n255 0 128\n1000 1 256"), (std::vector<uint32_t>{0xFF0080u, 0xFF01FFu}));
  EXPECT_EQ(pixels_of("P3 1 1 255\n0 0 65536"), (std::vector<uint32_t>{0x0000FFu}));
}

struct BadCase {
  const char* name;
  Bytes picture;
};

// Every one fails with a null result (the report itself is switched off in this build).
const BadCase kBad[] = {
    {"empty", ""},
    {"type 7", "P7 1 1 255\n\x01"},
    {"type 0", "P0 1 1 255\n\x01"},
    {"magic at the very end", "P"},
    {"no magic", "5 1 1 255\n\x01"},
    {"letters only", "hello world"},
    {"second magic", "P5 P5 1 1 255\n\x01"},
    {"width 0", "P5 0 1 255\n\x01"},
    {"height 0", "P5 1 0 255\n\x01"},
    {"bitmap width 0", "P4 0 1\n\x01"},
    {"stray letter in the size", "P5 2x1 255\n\x01\x02"},
    {"stray letter as maxval", "P5 1 1 x\n\x01"},
    {"header cut after width", "P5 2"},
    {"header cut in a comment", "P5 2 1 # no line end"},
    {"no byte after maxval", "P5 1 1 255"},
    {"raw grey one byte short", "P5 2 2 255\n\x01\x02\x03"},
    {"raw pixmap one byte short", "P6 1 1 255\n\x01\x02"},
    {"raw bitmap missing the second byte of a row", "P4 9 1\n\x01"},
    {"ascii bitmap one digit short", "P1 3 1\n10 "},
    {"ascii grey one sample short", "P2 2 1 255\n7 "},
    {"ascii pixmap one channel short", "P3 1 1 255\n1 2 "},
    {"width beyond 32 bits", "P5 4294967297 1 255\n\x01"},
    {"width beyond signed 32 bits", "P5 2147483648 1 255\n\x01"},
    {"maxval beyond 32 bits", "P5 1 1 99999999999\n\x01"},
    {"bitmap width rounding past 32 bits", "P4 2147483647 1\n\x01"},
    {"area beyond 2^31 pixels", "P5 46341 46341 255\n\x01"},
    {"area of 4 GiB", "P6 65535 65535 255\n\x01\x02\x03"},
    {"large area, tiny raster", "P5 40000 40000 255\n\x01\x02\x03\x04"},
    {"large ascii area, tiny raster", "P3 30000 30000 255\n1 2 3"},
};

class PnmBad : public testing::TestWithParam<BadCase> {};

TEST_P(PnmBad, FailsWithNull) {
  testing::internal::CaptureStdout();
  Image* image = decode(GetParam().picture);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(image, nullptr);
  if (image) img_free(&image);
}

INSTANTIATE_TEST_SUITE_P(Malformed, PnmBad, testing::ValuesIn(kBad), [](const testing::TestParamInfo<BadCase>& info) {
  std::string n;
  for (const char c : std::string(info.param.name)) n += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return n;
});

TEST(PnmDecode, NullPointerFails) { EXPECT_EQ(img_read_pnm(nullptr, 100), nullptr); }

TEST(PnmDecode, EveryCutOfAPictureFails) {
  // Raw rasters and P1 have no shorter valid reading: each proper prefix must fail.
  const Bytes pictures[] = {
      Bytes("P5\n# c\n2 2\n255\n") + '\0' + "\x01\x02\x03",
      "P6 2 1 255\n\x01\x02\x03\x04\x05\x06",
      "P4 10 2\n\xA0\x01\x80\xFF",
      "P1 2 2\n1001",
  };
  for (const Bytes& full : pictures) {
    Image* whole = decode(full);
    EXPECT_NE(whole, nullptr) << full;
    if (whole) img_free(&whole);
    for (std::size_t n = 0; n < full.size(); ++n) {
      Image* cut = decode(full.substr(0, n));
      EXPECT_EQ(cut, nullptr) << "prefix of " << n << " bytes of " << full;
      if (cut) img_free(&cut);
    }
  }
}

}  // namespace
