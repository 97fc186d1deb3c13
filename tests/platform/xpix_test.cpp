// Frame words to the pixels of other TrueColor layouts: nearest values, the stored bytes, the
// table-driven pass against the per-pixel reference, and what is refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <vector>

#include "image/img.h"
#include "platform/xpix.h"

namespace {

struct Masks {
  const char* name;
  uint32_t red, green, blue;
};

constexpr Masks k565 = {"565", 0xf800, 0x07e0, 0x001f};
constexpr Masks k555 = {"555", 0x7c00, 0x03e0, 0x001f};
constexpr Masks k888 = {"888", 0xff0000, 0x00ff00, 0x0000ff};
constexpr Masks kBgr = {"bgr", 0x0000ff, 0x00ff00, 0xff0000};
constexpr Masks kHigh = {"rgbx", 0xff000000, 0x00ff0000, 0x0000ff00};
constexpr Masks k101010 = {"101010", 0x3ff00000, 0x000ffc00, 0x000003ff};
constexpr Masks k332 = {"332", 0xe0, 0x1c, 0x03};

struct Owned {
  XPix* pix;
  explicit Owned(const Masks& m) : pix(xpix_new(m.red, m.green, m.blue)) {}
  ~Owned() { xpix_free(&pix); }
};

// The loading screen's blue, white and black as each layout shows them, nearest per channel.
struct PixelCase {
  Masks masks;
  uint32_t blue_screen, white;
};

TEST(XPixPixel, NearestValuePerLayout) {
  const PixelCase cases[] = {
      {k565, 0x041f, 0xffff},            // g 128 -> 32 of 63 (31.6 rounds up)
      {k555, 0x021f, 0x7fff},            // g 128 -> 16 of 31 (15.6)
      {k888, 0x0080ff, 0xffffff},
      {kBgr, 0xff8000, 0xffffff},
      {kHigh, 0x0080ff00, 0xffffff00},
      {k101010, 0x00080bff, 0x3fffffff},  // g 128 -> 514 of 1023 (513.5)
      {k332, 0x13, 0xff},                // g 128 -> 4 of 7 (3.5)
  };
  for (const PixelCase& c : cases) {
    Owned o(c.masks);
    ASSERT_NE(o.pix, nullptr) << c.masks.name;
    EXPECT_EQ(xpix_pixel(o.pix, 0x0080ff), c.blue_screen) << c.masks.name;
    EXPECT_EQ(xpix_pixel(o.pix, 0xffffff), c.white) << c.masks.name;
    EXPECT_EQ(xpix_pixel(o.pix, 0), 0u) << c.masks.name;
  }
}

TEST(XPixPixel, RefusesMasksWithoutAContiguousRun) {
  EXPECT_EQ(xpix_new(0, 0xff00, 0xff), nullptr);
  EXPECT_EQ(xpix_new(0xf0f00, 0xff00, 0xff), nullptr);
  EXPECT_EQ(xpix_new(0xffff0000, 0x1ffff, 0), nullptr);
}

Image* random_image(int32_t w, int32_t h, unsigned seed) {
  Image* img = img_new();
  img_resize(img, w, h);
  std::srand(seed);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) img_set_pixel(img, x, y, uint32_t(std::rand()) & 0xffffff);
  return img;
}

// The bytes stored for one pixel of 0x0080ff in each pixel size and byte order.
struct BytesCase {
  Masks masks;
  XPixFormat format;
  std::vector<uint8_t> bytes;
};

TEST(XPixConvert, StoresEachPixelSizeInItsByteOrder) {
  const BytesCase cases[] = {
      {k565, {16, false, 2}, {0x1f, 0x04}},
      {k565, {16, true, 2}, {0x04, 0x1f}},
      {k888, {24, false, 3}, {0xff, 0x80, 0x00}},
      {k888, {24, true, 3}, {0x00, 0x80, 0xff}},
      {k101010, {32, false, 4}, {0xff, 0x0b, 0x08, 0x00}},
      {k101010, {32, true, 4}, {0x00, 0x08, 0x0b, 0xff}},
      {k332, {8, false, 1}, {0x13}},
  };
  Image* img = img_new();
  img_resize(img, 1, 1);
  img_set_pixel(img, 0, 0, 0x0080ff);
  for (const BytesCase& c : cases) {
    Owned o(c.masks);
    std::vector<uint8_t> fast(c.bytes.size()), slow(c.bytes.size());
    ASSERT_TRUE(xpix_convert(o.pix, img, c.format, fast.data()));
    ASSERT_TRUE(xpix_convert_reference(c.masks.red, c.masks.green, c.masks.blue, img, c.format, slow.data()));
    EXPECT_EQ(fast, c.bytes) << c.masks.name << " " << c.format.bits_per_pixel << (c.format.msb_first ? " msb" : " lsb");
    EXPECT_EQ(slow, c.bytes) << c.masks.name << " reference";
  }
  img_free(&img);
}

// Every layout, size and order on random frames, with padded rows whose padding stays untouched.
TEST(XPixConvert, TablePassEqualsReferenceOnRandomFrames) {
  const Masks layouts[] = {k565, k555, k888, kBgr, kHigh, k101010, k332};
  const int32_t w = 37, h = 11;
  Image* img = random_image(w, h, 7316);
  for (const Masks& m : layouts) {
    Owned o(m);
    for (int32_t bpp : {8, 16, 24, 32}) {
      const int32_t width_bits = std::max({32 - std::countl_zero(m.red), 32 - std::countl_zero(m.green),
                                           32 - std::countl_zero(m.blue)});
      if (width_bits > bpp) continue;
      for (bool msb : {false, true}) {
        const int32_t stride = w * (bpp / 8) + 5;
        const XPixFormat format{bpp, msb, stride};
        std::vector<uint8_t> fast(std::size_t(stride * h), 0xaa), slow(std::size_t(stride * h), 0xaa);
        ASSERT_TRUE(xpix_convert(o.pix, img, format, fast.data()));
        ASSERT_TRUE(xpix_convert_reference(m.red, m.green, m.blue, img, format, slow.data()));
        for (std::size_t i = 0; i < fast.size(); ++i) {
          ASSERT_EQ(fast[i], slow[i]) << m.name << " bpp " << bpp << (msb ? " msb" : " lsb") << ": first difference at row "
                                      << i / std::size_t(stride) << ", byte " << i % std::size_t(stride);
        }
      }
    }
  }
  img_free(&img);
}

TEST(XPixConvert, PlainCopyOnlyForTheFrameLayout) {
  Owned plain(k888), bgr(kBgr);
  const bool host_msb = std::endian::native == std::endian::big;
  EXPECT_TRUE(xpix_plain(plain.pix, {32, host_msb, 1024}, 256));
  EXPECT_FALSE(xpix_plain(plain.pix, {32, !host_msb, 1024}, 256));   // the other byte order
  EXPECT_FALSE(xpix_plain(plain.pix, {32, host_msb, 1028}, 256));    // padded rows
  EXPECT_FALSE(xpix_plain(plain.pix, {24, host_msb, 768}, 256));     // packed 24-bit pixels
  EXPECT_FALSE(xpix_plain(bgr.pix, {32, host_msb, 1024}, 256));
  EXPECT_FALSE(xpix_plain(nullptr, {32, host_msb, 1024}, 256));
}

TEST(XPixConvert, RefusesWhatItCannotWrite) {
  Owned o(k565);
  Image* img = random_image(4, 2, 1);
  std::vector<uint8_t> data(64, 0xaa);
  EXPECT_FALSE(xpix_convert(o.pix, img, {16, false, 7}, data.data()));    // stride below 4 pixels
  EXPECT_FALSE(xpix_convert(o.pix, img, {12, false, 8}, data.data()));    // no such pixel size
  EXPECT_FALSE(xpix_convert(o.pix, nullptr, {16, false, 8}, data.data()));
  EXPECT_FALSE(xpix_convert(o.pix, img, {16, false, 8}, nullptr));
  EXPECT_FALSE(xpix_convert(nullptr, img, {16, false, 8}, data.data()));
  EXPECT_EQ(data, std::vector<uint8_t>(64, 0xaa));
  img_free(&img);
}

}  // namespace
