// XPIX: frame words to the pixels of any TrueColor layout, through three 256-entry tables built
// once per window, so that a frame costs one look-up per channel and one store per pixel.
#include "platform/xpix.h"

#include <bit>
#include <cstdlib>
#include <cstring>

#include "image/img.h"

namespace {

constexpr bool kHostMsbFirst = std::endian::native == std::endian::big;

// A channel mask as a shift and a width in bits; false when it is empty, longer than 16 bits or
// has holes.
bool split_mask(uint32_t mask, int* shift, int* bits) {
  if (mask == 0) return false;
  *shift = std::countr_zero(mask);
  *bits = std::popcount(mask);
  if (*bits > 16) return false;
  return (mask >> *shift) == (uint32_t(1) << *bits) - 1;
}

// The field value nearest to v / 255 of full scale.
uint32_t scale_channel(uint32_t v, int bits) {
  const uint32_t top = (uint32_t(1) << bits) - 1;
  return (v * top + 127) / 255;
}

int bytes_of(int32_t bits_per_pixel) {
  switch (bits_per_pixel) {
    case 8: return 1;
    case 16: return 2;
    case 24: return 3;
    case 32: return 4;
    default: return 0;
  }
}

bool format_fits(const Image* image, const XPixFormat& format, const uint8_t* data) {
  const int bytes = bytes_of(format.bits_per_pixel);
  return img_valid(image) && data && bytes > 0 && image->width >= 0 && image->height >= 0 &&
         int64_t(format.bytes_per_line) >= int64_t(image->width) * bytes;
}

// One row of pixels of `Bytes` bytes each; Swap stores them in the order opposite to this
// machine's.
template <int Bytes, bool Swap>
void convert_row(const XPix* pix, const uint32_t* src, uint8_t* dst, int32_t width) {
  for (int32_t x = 0; x < width; ++x, dst += Bytes) {
    const uint32_t c = src[x];
    const uint32_t p = pix->red[c >> 16 & 0xff] | pix->green[c >> 8 & 0xff] | pix->blue[c & 0xff];
    if constexpr (Bytes == 1) {
      dst[0] = uint8_t(p);
    } else if constexpr (Bytes == 2) {
      const uint16_t v = Swap ? __builtin_bswap16(uint16_t(p)) : uint16_t(p);
      std::memcpy(dst, &v, 2);
    } else if constexpr (Bytes == 4) {
      const uint32_t v = Swap ? __builtin_bswap32(p) : p;
      std::memcpy(dst, &v, 4);
    } else {
      // Three bytes: written one by one, most significant first when the order says so.
      const bool msb = Swap != kHostMsbFirst;
      dst[0] = uint8_t(msb ? p >> 16 : p);
      dst[1] = uint8_t(p >> 8);
      dst[2] = uint8_t(msb ? p : p >> 16);
    }
  }
}

template <int Bytes, bool Swap>
void convert_rows(const XPix* pix, const Image* image, uint8_t* data, int32_t stride) {
  for (int32_t y = 0; y < image->height; ++y)
    convert_row<Bytes, Swap>(pix, img_row(image, y), data + std::size_t(y) * std::size_t(stride), image->width);
}

}  // namespace

XPix* xpix_new(uint32_t red_mask, uint32_t green_mask, uint32_t blue_mask) {
  int rs, rb, gs, gb, bs, bb;
  if (!split_mask(red_mask, &rs, &rb) || !split_mask(green_mask, &gs, &gb) || !split_mask(blue_mask, &bs, &bb))
    return nullptr;
  XPix* pix = static_cast<XPix*>(std::calloc(1, sizeof(XPix)));
  if (!pix) return nullptr;
  for (uint32_t v = 0; v < 256; ++v) {
    pix->red[v] = scale_channel(v, rb) << rs;
    pix->green[v] = scale_channel(v, gb) << gs;
    pix->blue[v] = scale_channel(v, bb) << bs;
  }
  pix->identity = red_mask == 0xff0000 && green_mask == 0xff00 && blue_mask == 0xff;
  return pix;
}

void xpix_free(XPix** pix) {
  if (!pix) return;
  std::free(*pix);
  *pix = nullptr;
}

uint32_t xpix_pixel(const XPix* pix, uint32_t colour) {
  if (!pix) return colour;
  return pix->red[colour >> 16 & 0xff] | pix->green[colour >> 8 & 0xff] | pix->blue[colour & 0xff];
}

bool xpix_plain(const XPix* pix, const XPixFormat& format, int32_t width) {
  return pix && pix->identity && format.bits_per_pixel == 32 && format.msb_first == kHostMsbFirst &&
         int64_t(format.bytes_per_line) == int64_t(width) * 4;
}

bool xpix_convert(const XPix* pix, const Image* image, const XPixFormat& format, uint8_t* data) {
  if (!pix || !format_fits(image, format, data)) return false;
  // The pixel size and byte order are chosen once per frame, not per pixel.
  const bool swap = format.msb_first != kHostMsbFirst;
  const int32_t stride = format.bytes_per_line;
  switch (bytes_of(format.bits_per_pixel)) {
    case 1: convert_rows<1, false>(pix, image, data, stride); break;
    case 2: swap ? convert_rows<2, true>(pix, image, data, stride) : convert_rows<2, false>(pix, image, data, stride); break;
    case 3: swap ? convert_rows<3, true>(pix, image, data, stride) : convert_rows<3, false>(pix, image, data, stride); break;
    default: swap ? convert_rows<4, true>(pix, image, data, stride) : convert_rows<4, false>(pix, image, data, stride); break;
  }
  return true;
}

bool xpix_convert_reference(uint32_t red_mask, uint32_t green_mask, uint32_t blue_mask, const Image* image,
                            const XPixFormat& format, uint8_t* data) {
  int rs, rb, gs, gb, bs, bb;
  if (!split_mask(red_mask, &rs, &rb) || !split_mask(green_mask, &gs, &gb) || !split_mask(blue_mask, &bs, &bb) ||
      !format_fits(image, format, data))
    return false;
  const int bytes = bytes_of(format.bits_per_pixel);
  for (int32_t y = 0; y < image->height; ++y) {
    for (int32_t x = 0; x < image->width; ++x) {
      const uint32_t c = img_get_pixel(image, x, y);
      const uint32_t p = scale_channel(c >> 16 & 0xff, rb) << rs | scale_channel(c >> 8 & 0xff, gb) << gs |
                         scale_channel(c & 0xff, bb) << bs;
      uint8_t* out = data + std::size_t(y) * std::size_t(format.bytes_per_line) + std::size_t(x) * std::size_t(bytes);
      for (int k = 0; k < bytes; ++k) {
        const int byte = format.msb_first ? bytes - 1 - k : k;
        out[k] = uint8_t(p >> (8 * byte));
      }
    }
  }
  return true;
}
