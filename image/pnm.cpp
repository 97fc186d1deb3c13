// IMG: the portable anymap decoder (P1 .. P6) that turns a picture lying in memory into an Image.
// The header is read as the pictures are written here: white space and control bytes between the
// fields, "#" comments up to the line end, one white-space byte before the raster. Every read is
// bounded by the buffer size, so any byte sequence either decodes or fails with the module report.
#include <cstdint>

#include "image/img.h"

void img_error();  // image/img.cpp: the module's one error routine

namespace {

// Header numbers are signed 32-bit sizes; a larger one fails.
constexpr uint64_t kMaxNumber = INT32_MAX;

bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }
// White space, control bytes and non-ASCII bytes separate the header fields.
bool is_gap(unsigned char c) { return c <= 0x20 || c >= 0x7F; }

struct Header {
  int type;        // 1 .. 6
  int64_t width;   // for type 4 rounded up to a multiple of 8
  int64_t height;
  int64_t maxval;  // read, not used: samples are taken unscaled
  std::size_t raster;  // offset of the first raster byte
};

// Collects the type digit, width, height and (except for bitmaps) maxval, then skips the one byte
// that ends the header. False for a missing or bad magic, a stray byte, a number beyond 32 bits,
// or a buffer that ends first.
bool read_header(const unsigned char* data, std::size_t size, Header* h) {
  *h = Header{};
  std::size_t i = 0;
  int numbers = 0;  // how many of width, height, maxval are known
  while (h->type == 0 || numbers < ((h->type == 1 || h->type == 4) ? 2 : 3)) {
    while (i < size && is_gap(data[i])) ++i;
    if (i >= size) return false;
    const unsigned char c = data[i];
    if (c == 'P' && h->type == 0) {
      if (i + 1 >= size || data[i + 1] < '1' || data[i + 1] > '6') return false;
      h->type = data[i + 1] - '0';
      i += 2;
    } else if (c == '#') {
      while (i < size && data[i] != '\n') ++i;
      if (i >= size) return false;
      ++i;
    } else {
      // A number before the magic, or a byte that starts no number, is not a header.
      if (h->type == 0 || !is_digit(c)) return false;
      uint64_t v = 0;
      for (; i < size && is_digit(data[i]); ++i) {
        v = v * 10 + uint64_t(data[i] - '0');
        if (v > kMaxNumber) return false;
      }
      if (numbers == 0) {
        // Bitmap rows are whole bytes: the fill bits of the last byte become pixels.
        if (h->type == 4) v = (v + 7) & ~uint64_t(7);
        if (v > kMaxNumber) return false;
        h->width = int64_t(v);
      } else if (numbers == 1) {
        h->height = int64_t(v);
      } else {
        h->maxval = int64_t(v);
      }
      ++numbers;
    }
  }
  if (i >= size) return false;
  h->raster = i + 1;
  return true;
}

// Fewest raster bytes the header's size needs: a raw sample is one byte, an ASCII bit one digit,
// and an ASCII sample at least one digit with a separator before the next.
uint64_t least_raster(const Header& h, uint64_t pixels) {
  switch (h.type) {
    case 1: return pixels;
    case 2: return 2 * pixels - 1;
    case 3: return 6 * pixels - 1;
    case 4: return pixels / 8;
    case 5: return pixels;
    default: return 3 * pixels;
  }
}

// Reads ASCII samples: skips non-digits, then takes the run of digits. Values above 255 are 255,
// so a sample never reaches into the neighbouring channel.
struct Ascii {
  const unsigned char* data;
  std::size_t size;
  std::size_t i;

  bool next_digit() {
    while (i < size && !is_digit(data[i])) ++i;
    return i < size;
  }
  bool bit(uint32_t* out) {
    if (!next_digit()) return false;
    *out = data[i++] == '0' ? 0u : 0xFFFFFFu;
    return true;
  }
  bool sample(uint32_t* out) {
    if (!next_digit()) return false;
    uint32_t v = 0;
    for (; i < size && is_digit(data[i]); ++i) {
      if (v <= 255) v = v * 10 + uint32_t(data[i] - '0');
    }
    *out = v > 255 ? 255u : v;
    return true;
  }
};

// Fills the image row-major from the raster; false when the raster ends before the last pixel.
bool read_raster(const Header& h, const unsigned char* data, std::size_t size, Image* image) {
  const int32_t w = image->width, rows = image->height;
  const unsigned char* raw = data + h.raster;
  Ascii text{data, size, h.raster};
  for (int32_t row = 0; row < rows; ++row) {
    uint32_t* d = img_row(image, row);
    switch (h.type) {
      case 1:
        for (int32_t col = 0; col < w; ++col) {
          if (!text.bit(&d[col])) return false;
        }
        break;
      case 2:
        for (int32_t col = 0; col < w; ++col) {
          uint32_t v;
          if (!text.sample(&v)) return false;
          d[col] = v * 0x010101u;
        }
        break;
      case 3:
        for (int32_t col = 0; col < w; ++col) {
          uint32_t r, g, b;
          if (!text.sample(&r) || !text.sample(&g) || !text.sample(&b)) return false;
          d[col] = r << 16 | g << 8 | b;
        }
        break;
      case 4:
        // Sizes were checked against the buffer before the image was made.
        for (int32_t col = 0; col < w; col += 8, ++raw) {
          const unsigned byte = *raw;
          for (int bit = 0; bit < 8; ++bit) d[col + bit] = (byte >> (7 - bit)) & 1u ? 0xFFFFFFu : 0u;
        }
        break;
      case 5:
        for (int32_t col = 0; col < w; ++col) d[col] = uint32_t(*raw++) * 0x010101u;
        break;
      default:
        for (int32_t col = 0; col < w; ++col, raw += 3) {
          d[col] = uint32_t(raw[0]) << 16 | uint32_t(raw[1]) << 8 | uint32_t(raw[2]);
        }
        break;
    }
  }
  return true;
}

}  // namespace

Image* img_read_pnm(const unsigned char* data, std::size_t size) {
  if (!data) {
    img_error();
    return nullptr;
  }
  Header h;
  if (!read_header(data, size, &h) || h.width == 0 || h.height == 0) {
    img_error();
    return nullptr;
  }
  // Refuse sizes the buffer cannot hold before allocating anything: a short header must not ask
  // for gigabytes. Both sides stay far below 2^64 (pixels <= 2^31).
  const uint64_t pixels = uint64_t(h.width) * uint64_t(h.height);
  if (pixels > uint64_t(INT32_MAX) || least_raster(h, pixels) > uint64_t(size - h.raster)) {
    img_error();
    return nullptr;
  }
  Image* image = img_new();
  if (!image) return nullptr;  // img_new has reported
  img_resize(image, int32_t(h.width), int32_t(h.height));
  if (!image->pixels || !read_raster(h, data, size, image)) {
    img_free(&image);
    img_error();
    return nullptr;
  }
  return image;
}
