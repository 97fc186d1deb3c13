// IMG: the image record, pixel access and the drawing primitives (blits, fill, line, rows,
// whole-image colour operations). Clipping lives in two places, computing extents in 64 bits:
// img_clip_rect for rectangles and row runs, img_clip_line for lines; the loops after them step
// row pointers without bounds tests.
#include "image/img.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "image/ident.h"

namespace {

[[gnu::used]] constexpr Identity kIdent{"IMG     ", "19970305", "Kelvardo", "C       ", "CODE    "};
constexpr bool kReport = false;

// Largest pixel count of an image: the linear index of every pixel fits a signed 32-bit word.
constexpr int64_t kMaxPixels = INT32_MAX;

int64_t min64(int64_t a, int64_t b) { return a < b ? a : b; }
int64_t max64(int64_t a, int64_t b) { return a > b ? a : b; }

}  // namespace

// The module's one error routine; the anymap decoder (image/pnm.cpp) reports through it too.
void img_error() {
  if (kReport) std::puts("IMG error");
}

Image* img_new() {
  Image* image = static_cast<Image*>(std::calloc(1, sizeof(Image)));
  if (!image) {
    img_error();
    return nullptr;
  }
  image->pixels = static_cast<uint32_t*>(std::calloc(256, sizeof(uint32_t)));
  if (!image->pixels) {
    std::free(image);
    img_error();
    return nullptr;
  }
  image->width = 16;
  image->height = 16;
  return image;
}

void img_free(Image** image) {
  if (!image || !*image) {
    img_error();
    return;
  }
  std::free((*image)->pixels);
  std::free(*image);
  *image = nullptr;
}

// Negative sizes, more than kMaxPixels pixels or a failed allocation leave the image 0 x 0
// without buffer. A size with no pixels (0 x n) is stored as given, without buffer.
void img_resize(Image* image, int32_t width, int32_t height) {
  if (!image) {
    img_error();
    return;
  }
  std::free(image->pixels);
  image->pixels = nullptr;
  image->width = 0;
  image->height = 0;
  const int64_t count = int64_t(width) * int64_t(height);
  if (width < 0 || height < 0 || count > kMaxPixels) return;
  if (count > 0) {
    image->pixels = static_cast<uint32_t*>(std::calloc(std::size_t(count), sizeof(uint32_t)));
    if (!image->pixels) return;
  }
  image->width = width;
  image->height = height;
}

void img_copy(const Image* src, Image* dst) {
  if (!img_valid(src) || !img_valid(dst) || src->width != dst->width || src->height != dst->height) {
    img_error();
    return;
  }
  if (src == dst) return;
  std::memcpy(dst->pixels, src->pixels, std::size_t(src->width) * std::size_t(src->height) * sizeof(uint32_t));
}

void img_set_pixel(Image* image, int32_t col, int32_t row, uint32_t pixel) {
  if (!img_valid(image)) {
    img_error();
    return;
  }
  if (col < 0 || row < 0 || col >= image->width || row >= image->height) return;
  img_row(image, row)[col] = pixel;
}

uint32_t img_get_pixel(const Image* image, int32_t col, int32_t row) {
  if (!img_valid(image)) {
    img_error();
    return 0;
  }
  if (col < 0 || row < 0 || col >= image->width || row >= image->height) return 0;
  return img_row(image, row)[col];
}

// Extents in 64 bits: a corner plus a size of 32 bits each cannot overflow.
bool img_clip_rect(const Image* image, int64_t col, int64_t row, int64_t w, int64_t h, ImgRect* out) {
  if (!image || !out) return false;
  const int64_t first_col = max64(col, 0), first_row = max64(row, 0);
  const int64_t end_col = min64(col + w, image->width), end_row = min64(row + h, image->height);
  if (first_col >= end_col || first_row >= end_row) return false;
  *out = ImgRect{int32_t(first_col), int32_t(first_row), int32_t(end_col - first_col), int32_t(end_row - first_row)};
  return true;
}

bool img_clip_blit(const Image* src, const Image* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w,
                   int32_t h, BlitRect* out) {
  if (!src || !dst || !out) return false;
  // The source rectangle inside the source, moved with the destination; then that inside the
  // destination, moved with the source.
  ImgRect s, d;
  if (!img_clip_rect(src, sx, sy, w, h, &s)) return false;
  const int64_t dcol = int64_t(dx) + (s.col - int64_t(sx)), drow = int64_t(dy) + (s.row - int64_t(sy));
  if (!img_clip_rect(dst, dcol, drow, s.w, s.h, &d)) return false;
  *out = BlitRect{int32_t(s.col + (d.col - dcol)), int32_t(s.row + (d.row - drow)), d.col, d.row, d.w, d.h};
  return true;
}

void img_blit(const Image* src, Image* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h) {
  if (!img_valid(src) || !img_valid(dst)) {
    img_error();
    return;
  }
  BlitRect r;
  if (!img_clip_blit(src, dst, sx, sy, dx, dy, w, h, &r)) return;
  for (int32_t j = 0; j < r.h; ++j) {
    const uint32_t* s = img_row(src, r.sy + j) + r.sx;
    uint32_t* d = img_row(dst, r.dy + j) + r.dx;
    if (src != dst) {
      std::memcpy(d, s, std::size_t(r.w) * sizeof(uint32_t));
    } else {
      // Within one image, copy in the defined order (left to right) even where ranges overlap.
      for (int32_t i = 0; i < r.w; ++i) d[i] = s[i];
    }
  }
}

void img_blit_keyed(const Image* src, Image* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w,
                    int32_t h) {
  if (!img_valid(src) || !img_valid(dst)) {
    img_error();
    return;
  }
  BlitRect r;
  if (!img_clip_blit(src, dst, sx, sy, dx, dy, w, h, &r)) return;
  for (int32_t j = 0; j < r.h; ++j) {
    const uint32_t* s = img_row(src, r.sy + j) + r.sx;
    uint32_t* d = img_row(dst, r.dy + j) + r.dx;
    for (int32_t i = 0; i < r.w; ++i) {
      const uint32_t p = s[i];
      if (p != 0) d[i] = p;
    }
  }
}

void img_draw(const Image* src, Image* dst) {
  if (!src || !dst) {
    img_error();
    return;
  }
  img_blit_keyed(src, dst, 0, 0, src->x, src->y, src->width, src->height);
}

void img_fill_rect(Image* image, int32_t col0, int32_t row0, int32_t w0, int32_t h0, uint32_t colour) {
  if (!img_valid(image)) {
    img_error();
    return;
  }
  // A negative size extends the rectangle to the left or upwards of the corner.
  int64_t col = col0, row = row0, w = w0, h = h0;
  if (w < 0) { col += w; w = -w; }
  if (h < 0) { row += h; h = -h; }
  ImgRect r;
  if (!img_clip_rect(image, col, row, w, h, &r)) return;
  for (int32_t j = 0; j < r.h; ++j) {
    uint32_t* d = img_row(image, r.row + j) + r.col;
    for (int32_t i = 0; i < r.w; ++i) d[i] = colour;
  }
}

// Bresenham with a halved initial error: after i steps the minor coordinate has moved
// k(i) = floor((i * a_minor - e0) / a_major) + 1 times (e0 = a_major / 2 >= 1) and the error is
// e0 - i * a_minor + k(i) * a_major, in 1 .. a_major. Both coordinates move monotonically, so
// the steps inside the image form one run: its ends and the state at its start follow in closed
// form, and huge end points cost no more than short ones. A major extent of 1 (e0 = 0) has at
// most the one step, walked as it is.
bool img_clip_line(const Image* image, int32_t col0, int32_t row0, int32_t col1, int32_t row1, LineSpan* out) {
  if (!img_valid(image) || !out) return false;
  const int64_t dcol = int64_t(col1) - col0, drow = int64_t(row1) - row0;
  const int64_t abs_col = dcol < 0 ? -dcol : dcol, abs_row = drow < 0 ? -drow : drow;
  const bool col_major = abs_col > abs_row;
  const int64_t major = col_major ? abs_col : abs_row, minor = col_major ? abs_row : abs_col;
  const int64_t major_sign = (col_major ? dcol : drow) > 0 ? 1 : ((col_major ? dcol : drow) < 0 ? -1 : 0);
  const int64_t minor_sign = (col_major ? drow : dcol) > 0 ? 1 : ((col_major ? drow : dcol) < 0 ? -1 : 0);
  const int64_t major_start = col_major ? col0 : row0, minor_start = col_major ? row0 : col0;
  const int64_t major_extent = col_major ? image->width : image->height;
  const int64_t minor_extent = col_major ? image->height : image->width;
  const int64_t e0 = major >> 1;

  // Steps whose major coordinate lies inside.
  int64_t first = 0, last = major;
  if (major_sign > 0) {
    first = max64(first, -major_start);
    last = min64(last, major_extent - 1 - major_start);
  } else if (major_sign < 0) {
    first = max64(first, major_start - (major_extent - 1));
    last = min64(last, major_start);
  } else if (major_start < 0 || major_start >= major_extent) {
    return false;
  }
  // Steps whose minor coordinate lies inside: k(i) between the first and last allowed move
  // counts. The first step with k(i) >= K (1 <= K <= minor) is ceil(((K-1) a_major + e0) / a_minor).
  if (minor_sign == 0) {
    if (minor_start < 0 || minor_start >= minor_extent) return false;
  } else {
    const int64_t k_first = minor_sign > 0 ? -minor_start : minor_start - (minor_extent - 1);
    const int64_t k_last = minor_sign > 0 ? minor_extent - 1 - minor_start : minor_start;
    if (k_last < 0 || k_first > minor) return false;
    const auto first_step_with = [&](int64_t k) -> int64_t {
      if (e0 == 0) return k;   // a_major = a_minor = 1: k(i) = i
      const uint64_t need = uint64_t(k - 1) * uint64_t(major) + uint64_t(e0);   // < a_minor * a_major < 2^64
      return int64_t((need + uint64_t(minor) - 1) / uint64_t(minor));
    };
    if (k_first > 0) first = max64(first, first_step_with(k_first));
    if (k_last < minor) last = min64(last, first_step_with(k_last + 1) - 1);
  }
  if (first > last) return false;

  // The state before step `first`.
  int64_t k = 0, e = e0;
  if (first > 0 && e0 == 0) {
    e -= minor;
    if (e <= 0) {
      e += major;
      ++k;
    }
  } else if (first > 0) {
    const uint64_t prod = uint64_t(first) * uint64_t(minor);  // < 2^64: first <= 2^32, a_minor < 2^32
    if (prod < uint64_t(e0)) {
      e = e0 - int64_t(prod);
    } else {
      const uint64_t t = prod - uint64_t(e0);
      k = int64_t(t / uint64_t(major)) + 1;
      e = major - int64_t(t % uint64_t(major));
    }
  }
  const int64_t major_at = major_start + first * major_sign, minor_at = minor_start + k * minor_sign;
  const int64_t col = col_major ? major_at : minor_at, row = col_major ? minor_at : major_at;
  const std::ptrdiff_t width = image->width;
  out->start = std::size_t(row) * std::size_t(width) + std::size_t(col);
  out->first = first;
  out->count = last - first + 1;
  out->major_step = col_major ? std::ptrdiff_t(major_sign) : std::ptrdiff_t(major_sign) * width;
  out->minor_step = col_major ? std::ptrdiff_t(minor_sign) * width : std::ptrdiff_t(minor_sign);
  out->error = e;
  out->error_down = minor;
  out->error_up = major;
  return true;
}

void img_line(Image* image, int32_t col0, int32_t row0, int32_t col1, int32_t row1, uint32_t colour) {
  if (!img_valid(image)) {
    img_error();
    return;
  }
  LineSpan span;
  if (!img_clip_line(image, col0, row0, col1, row1, &span)) return;
  uint32_t* p = image->pixels + span.start;
  int64_t e = span.error;
  for (int64_t n = span.count;;) {
    *p = colour;
    if (--n == 0) break;
    p += span.major_step;
    e -= span.error_down;
    if (e <= 0) {
      e += span.error_up;
      p += span.minor_step;
    }
  }
}

void img_fill_row(Image* image, uint32_t colour, int32_t row, int32_t first, int32_t last) {
  if (!img_valid(image)) {
    img_error();
    return;
  }
  ImgRect r;
  if (!img_clip_rect(image, first, row, int64_t(last) - first + 1, 1, &r)) return;
  uint32_t* d = img_row(image, r.row) + r.col;
  for (int32_t i = 0; i < r.w; ++i) d[i] = colour;
}

// weight 0 .. 256: each channel becomes (old * (256 - weight) + colour * weight) / 256, truncated.
void img_blend_row(Image* image, uint32_t colour, int32_t row, int32_t first, int32_t last, int32_t weight) {
  if (!img_valid(image)) {
    img_error();
    return;
  }
  ImgRect span;
  if (!img_clip_rect(image, first, row, int64_t(last) - first + 1, 1, &span)) return;
  // Products in 32-bit wrap-around, as the channel masks expect.
  const uint32_t w = uint32_t(weight), q = 256u - w;
  const uint32_t cr = (colour & 0xFF0000u) * w, cg = (colour & 0xFF00u) * w, cb = (colour & 0xFFu) * w;
  uint32_t* d = img_row(image, span.row) + span.col;
  for (int32_t i = 0; i < span.w; ++i) {
    const uint32_t p = d[i];
    const uint32_t r = (((p & 0xFF0000u) * q + cr) >> 8) & 0xFF0000u;
    const uint32_t g = (((p & 0xFF00u) * q + cg) >> 8) & 0xFF00u;
    const uint32_t b = ((p & 0xFFu) * q + cb) >> 8;
    d[i] = r | g | b;
  }
}

void img_sub_colour(Image* image, uint32_t colour) {
  if (!img_valid(image)) {
    img_error();
    return;
  }
  const uint32_t cr = colour & 0xFF0000u, cg = colour & 0xFF00u, cb = colour & 0xFFu;
  const std::size_t n = std::size_t(image->width) * std::size_t(image->height);
  uint32_t* p = image->pixels;
  for (std::size_t i = 0; i < n; ++i) {
    const uint32_t v = p[i];
    const uint32_t r = v & 0xFF0000u, g = v & 0xFF00u, b = v & 0xFFu;
    p[i] = (r > cr ? r - cr : 0u) | (g > cg ? g - cg : 0u) | (b > cb ? b - cb : 0u);
  }
}

// Each channel v becomes v * num / den truncated towards zero, then limited to 0 .. 255 (the
// product is exact in 64 bits; a negative factor gives 0 rather than spilling into other channels).
void img_scale_colour(Image* image, int32_t num, int32_t den) {
  if (!img_valid(image) || den == 0) {
    img_error();
    return;
  }
  uint32_t lut[256];
  for (int64_t v = 0; v < 256; ++v) {
    const int64_t s = v * num / den;
    lut[v] = uint32_t(s > 255 ? 255 : (s < 0 ? 0 : s));
  }
  const std::size_t n = std::size_t(image->width) * std::size_t(image->height);
  uint32_t* p = image->pixels;
  for (std::size_t i = 0; i < n; ++i) {
    const uint32_t v = p[i];
    p[i] = lut[(v >> 16) & 255u] << 16 | lut[(v >> 8) & 255u] << 8 | lut[v & 255u];
  }
}
