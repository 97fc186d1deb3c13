// IMGFX: post effects (blur, glare, mirrors) and scene effects (additive blit, sparkle, two-colour
// line). The per-frame effects run on row pointers over a zero-padded copy of each source row, so
// the black border needs no test per pixel. Where source and destination share their pixels, or an
// image lacks its buffer, the effects take the plain per-pixel walk instead, whose order of reads
// and writes defines the result.
#include "image/imgfx.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "image/fixed.h"
#include "image/ident.h"

namespace {

[[gnu::used]] constexpr Identity kIdent{"IMGFX   ", "Kelvardo", "19970318", "C       ", "CODE    "};
constexpr bool kReport = false;

void imgfx_error() {
  if (kReport) std::puts("IMGFX error");
}

inline uint32_t red(uint32_t p) { return (p >> 16) & 255u; }
inline uint32_t green(uint32_t p) { return (p >> 8) & 255u; }
inline uint32_t blue(uint32_t p) { return p & 255u; }

int32_t min32(int32_t a, int32_t b) { return a < b ? a : b; }
int32_t max32(int32_t a, int32_t b) { return a > b ? a : b; }

// Checked read at a 64-bit column: anything beyond the 32-bit range is outside too.
uint32_t get64(const Image* image, int64_t col, int32_t row) {
  if (col < INT32_MIN || col > INT32_MAX) return 0;
  return img_get_pixel(image, int32_t(col), row);
}

// One source row with `pad` zero words on each side. Small rows live on the stack; wider ones
// take one heap block for the whole call.
class PaddedRow {
 public:
  PaddedRow(int32_t width, int32_t pad) : width_(width), pad_(pad) {
    const std::size_t n = std::size_t(width) + 2 * std::size_t(pad);
    if (n <= kInline) {
      words_ = inline_;
      std::memset(inline_, 0, n * sizeof(uint32_t));
    } else {
      words_ = static_cast<uint32_t*>(std::calloc(n, sizeof(uint32_t)));
      heap_ = words_ != nullptr;
    }
  }
  ~PaddedRow() {
    if (heap_) std::free(words_);
  }
  PaddedRow(const PaddedRow&) = delete;
  PaddedRow& operator=(const PaddedRow&) = delete;

  bool ok() const { return words_ != nullptr; }
  // Copies a source row in; the pads stay 0. Returns the address of column 0.
  const uint32_t* load(const uint32_t* row) {
    std::memcpy(words_ + pad_, row, std::size_t(width_) * sizeof(uint32_t));
    return words_ + pad_;
  }

 private:
  static constexpr std::size_t kInline = 2048;
  uint32_t inline_[kInline];
  uint32_t* words_ = nullptr;
  bool heap_ = false;
  int32_t width_, pad_;
};

// Exact unsigned division by a fixed divisor d >= 1 for dividends below 2^31: q = n * mul >> shift,
// with shift = 31 + ceil(log2 d) and mul = ceil(2^shift / d) (mul * d exceeds 2^shift by less
// than d <= 2^(shift - 31), which keeps every quotient exact in that range; n * mul < 2^63).
struct Divider {
  uint64_t mul;
  int shift;
  explicit Divider(uint32_t d) {
    int lg = 0;
    while ((uint64_t(1) << lg) < d) ++lg;
    shift = 31 + lg;
    mul = ((uint64_t(1) << shift) + d - 1) / d;
  }
  uint32_t operator()(uint32_t n) const { return uint32_t((uint64_t(n) * mul) >> shift); }
};

// The blur's fast path keeps every window sum below 2^31: at most 255 per column of the row.
constexpr int32_t kBlurFastWidth = 1 << 23;

bool shares_pixels(const Image* a, const Image* b) { return a == b || a->pixels == b->pixels; }

// The defining walk of the blur, pixel by pixel through the checked accessors.
void blur_walk(const Image* src, Image* dst, int32_t rr, int32_t rg, int32_t rb) {
  const int32_t w = src->width;
  if (w <= 0) return;
  const uint32_t dr = 2u * uint32_t(rr) + 1u, dg = 2u * uint32_t(rg) + 1u, db = 2u * uint32_t(rb) + 1u;
  for (int32_t row = src->height - 1; row >= 0; --row) {
    // Columns below 0 and from the width on read as 0, so only 0 .. min(radius, width - 1) count.
    uint32_t sr = 0, sg = 0, sb = 0;
    for (int32_t i = 0; i <= min32(rr, w - 1); ++i) sr += red(img_get_pixel(src, i, row));
    for (int32_t i = 0; i <= min32(rg, w - 1); ++i) sg += green(img_get_pixel(src, i, row));
    for (int32_t i = 0; i <= min32(rb, w - 1); ++i) sb += blue(img_get_pixel(src, i, row));
    for (int32_t col = 0; col < w; ++col) {
      img_set_pixel(dst, col, row, (sr / dr) << 16 | (sg / dg) << 8 | (sb / db));
      sr += red(get64(src, int64_t(col) + rr + 1, row)) - red(get64(src, int64_t(col) - rr, row));
      sg += green(get64(src, int64_t(col) + rg + 1, row)) - green(get64(src, int64_t(col) - rg, row));
      sb += blue(get64(src, int64_t(col) + rb + 1, row)) - blue(get64(src, int64_t(col) - rb, row));
    }
  }
}

// The defining walk of the glare, pixel by pixel through the checked accessors; sh <= 8.
void glare_walk(const Image* src, Image* dst, int sh) {
  for (int32_t row = src->height - 1; row >= 0; --row) {
    for (int32_t col = src->width - 1; col >= 0; --col) {
      const uint32_t l2 = get64(src, int64_t(col) - 2, row), l1 = get64(src, int64_t(col) - 1, row);
      const uint32_t m = img_get_pixel(src, col, row);
      const uint32_t r1 = get64(src, int64_t(col) + 1, row), r2 = get64(src, int64_t(col) + 2, row);
      uint32_t vr = red(m) + (red(l2) >> sh) + (red(l1) >> sh) + (red(r1) >> sh) + (red(r2) >> sh);
      uint32_t vg = green(m) + (green(l2) >> sh) + (green(l1) >> sh) + (green(r1) >> sh) + (green(r2) >> sh);
      uint32_t vb = blue(m) + (blue(l2) >> sh) + (blue(l1) >> sh) + (blue(r1) >> sh) + (blue(r2) >> sh);
      if (vr > 255) vr = 255;
      if (vg > 255) vg = 255;
      if (vb > 255) vb = 255;
      img_set_pixel(dst, col, row, vr << 16 | vg << 8 | vb);
    }
  }
}

// The defining walk of the eight-way mirror; its order matters only on non-square images.
void mirror8_walk(Image* image) {
  const int32_t w = image->width, h = image->height, hw = w / 2, hh = h / 2;
  for (int32_t row = hh - 1; row >= 0; --row) {
    for (int32_t col = hw - 1; col >= row; --col) {
      const uint32_t c = img_get_pixel(image, col, row);
      img_set_pixel(image, w - 1 - col, row, c);
      img_set_pixel(image, col, h - 1 - row, c);
      img_set_pixel(image, w - 1 - col, h - 1 - row, c);
      img_set_pixel(image, row, col, c);
      img_set_pixel(image, row, w - 1 - col, c);
      img_set_pixel(image, h - 1 - row, col, c);
      img_set_pixel(image, h - 1 - row, w - 1 - col, c);
    }
  }
}

// Copies the top-left hw x hh quarter into the other three, mirrored.
void mirror_quarters(Image* image) {
  const int32_t w = image->width, h = image->height, hw = w / 2, hh = h / 2;
  for (int32_t row = 0; row < hh; ++row) {
    uint32_t* top = img_row(image, row);
    uint32_t* bottom = img_row(image, h - 1 - row);
    for (int32_t col = 0; col < hw; ++col) {
      const uint32_t c = top[col];
      top[w - 1 - col] = c;
      bottom[col] = c;
      bottom[w - 1 - col] = c;
    }
  }
}

}  // namespace

void imgfx_blur_h(const Image* src, Image* dst, int32_t radius_r, int32_t radius_g, int32_t radius_b) {
  if (!src || !dst) {
    imgfx_error();
    return;
  }
  if (radius_r < 0 || radius_g < 0 || radius_b < 0) return;
  const int32_t w = src->width;
  if (!src->pixels || !dst->pixels || shares_pixels(src, dst) || w >= kBlurFastWidth) {
    blur_walk(src, dst, radius_r, radius_g, radius_b);
    return;
  }
  const int32_t cols = min32(w, dst->width), rows = min32(src->height, dst->height);
  if (cols <= 0 || rows <= 0) return;
  // A radius of the width or more already reaches past both ends from every column: the window
  // then holds the whole row and never moves.
  const int32_t er = min32(radius_r, w), eg = min32(radius_g, w), eb = min32(radius_b, w);
  const int32_t pad = max32(er, max32(eg, eb)) + 1;
  PaddedRow buffer(w, pad);
  if (!buffer.ok()) {
    blur_walk(src, dst, radius_r, radius_g, radius_b);
    return;
  }
  const Divider qr(2u * uint32_t(radius_r) + 1u), qg(2u * uint32_t(radius_g) + 1u),
      qb(2u * uint32_t(radius_b) + 1u);
  for (int32_t row = rows - 1; row >= 0; --row) {
    const uint32_t* s = buffer.load(img_row(src, row));
    uint32_t* d = img_row(dst, row);
    uint32_t sr = 0, sg = 0, sb = 0;
    for (int32_t i = -er; i <= er; ++i) sr += red(s[i]);
    for (int32_t i = -eg; i <= eg; ++i) sg += green(s[i]);
    for (int32_t i = -eb; i <= eb; ++i) sb += blue(s[i]);
    for (int32_t col = 0; col < cols; ++col) {
      d[col] = qr(sr) << 16 | qg(sg) << 8 | qb(sb);
      sr += red(s[col + er + 1]) - red(s[col - er]);
      sg += green(s[col + eg + 1]) - green(s[col - eg]);
      sb += blue(s[col + eb + 1]) - blue(s[col - eb]);
    }
  }
}

void imgfx_glare(const Image* src, Image* dst, int32_t shift) {
  if (!src || !dst) {
    imgfx_error();
    return;
  }
  if (shift < 0) return;
  // A channel has 8 bits: from a shift of 8 on every neighbour term is 0.
  const int sh = shift > 8 ? 8 : int(shift);
  const int32_t w = src->width;
  if (!src->pixels || !dst->pixels || shares_pixels(src, dst)) {
    glare_walk(src, dst, sh);
    return;
  }
  const int32_t cols = min32(w, dst->width), rows = min32(src->height, dst->height);
  if (cols <= 0 || rows <= 0) return;
  PaddedRow buffer(w, 2);
  if (!buffer.ok()) {
    glare_walk(src, dst, sh);
    return;
  }
  if (sh >= 2) {
    // From a shift of 2 on, the four neighbour terms of a channel sum to at most 4 * 63 and fit
    // its byte: all three channels are shifted and summed in one word, then added to the centre
    // with a per-byte saturating add.
    const uint32_t keep = (0xffu >> sh) * 0x010101u;
    for (int32_t row = rows - 1; row >= 0; --row) {
      const uint32_t* s = buffer.load(img_row(src, row));
      uint32_t* d = img_row(dst, row);
      for (int32_t col = 0; col < cols; ++col) {
        const uint32_t n = ((s[col - 2] >> sh) & keep) + ((s[col - 1] >> sh) & keep) +
                           ((s[col + 1] >> sh) & keep) + ((s[col + 2] >> sh) & keep);
        const uint32_t c = s[col] & 0xffffffu;
        const uint32_t low = (c & 0x7f7f7fu) + (n & 0x7f7f7fu);
        const uint32_t sum = low ^ ((c ^ n) & 0x808080u);
        const uint32_t carry = ((c & n) | ((c | n) & ~sum)) & 0x808080u;
        d[col] = sum | ((carry >> 7) * 0xffu);
      }
    }
    return;
  }
  for (int32_t row = rows - 1; row >= 0; --row) {
    const uint32_t* s = buffer.load(img_row(src, row));
    uint32_t* d = img_row(dst, row);
    for (int32_t col = 0; col < cols; ++col) {
      const uint32_t l2 = s[col - 2], l1 = s[col - 1], m = s[col], r1 = s[col + 1], r2 = s[col + 2];
      uint32_t vr = red(m) + (red(l2) >> sh) + (red(l1) >> sh) + (red(r1) >> sh) + (red(r2) >> sh);
      uint32_t vg = green(m) + (green(l2) >> sh) + (green(l1) >> sh) + (green(r1) >> sh) + (green(r2) >> sh);
      uint32_t vb = blue(m) + (blue(l2) >> sh) + (blue(l1) >> sh) + (blue(r1) >> sh) + (blue(r2) >> sh);
      vr = vr > 255 ? 255 : vr;
      vg = vg > 255 ? 255 : vg;
      vb = vb > 255 ? 255 : vb;
      d[col] = vr << 16 | vg << 8 | vb;
    }
  }
}

void imgfx_mirror4(Image* image) {
  if (!img_valid(image)) {
    imgfx_error();
    return;
  }
  mirror_quarters(image);
}

void imgfx_mirror8(Image* image) {
  if (!img_valid(image)) {
    imgfx_error();
    return;
  }
  const int32_t w = image->width, h = image->height;
  if (w != h) {
    mirror8_walk(image);
    return;
  }
  // On a square every pixel of the quarter's upper triangle has its own orbit, so the order of
  // the writes does not matter: fill the quarter's lower triangle by transposing the upper one,
  // then mirror the quarter four ways.
  const int32_t hw = w / 2;
  for (int32_t row = 1; row < hw; ++row) {
    uint32_t* d = img_row(image, row);
    for (int32_t col = 0; col < row; ++col) d[col] = img_row(image, col)[row];
  }
  mirror_quarters(image);
}

void imgfx_blit_add(const Image* src, Image* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                    int32_t w, int32_t h) {
  if (!img_valid(src) || !img_valid(dst)) {
    imgfx_error();
    return;
  }
  BlitRect r;
  if (!img_clip_blit(src, dst, sx, sy, dx, dy, w, h, &r)) return;
  for (int32_t j = 0; j < r.h; ++j) {
    const uint32_t* s = img_row(src, r.sy + j) + r.sx;
    uint32_t* d = img_row(dst, r.dy + j) + r.dx;
    // Read and write pixel by pixel, left to right: the defined order also within one image.
    for (int32_t i = 0; i < r.w; ++i) {
      const uint32_t a = s[i], b = d[i];
      uint32_t vr = red(a) + red(b), vg = green(a) + green(b), vb = blue(a) + blue(b);
      vr = vr > 255 ? 255 : vr;
      vg = vg > 255 ? 255 : vg;
      vb = vb > 255 ? 255 : vb;
      d[i] = vr << 16 | vg << 8 | vb;
    }
  }
}

void imgfx_sparkle(Image* dst, const Image* sprite, int32_t count) {
  if (!dst || !sprite) {
    // The report is the image module's, under its own switch.
    img_set_pixel(nullptr, 0, 0, 0);
    return;
  }
  if (count <= 0) return;
  // Picks are taken modulo the sprite's size: an empty sprite has nothing to pick from.
  if (sprite->width < 1 || sprite->height < 1) {
    imgfx_error();
    return;
  }
  const int32_t sw = sprite->width, sh = sprite->height;
  if (!img_valid(sprite) || !img_valid(dst)) {
    // Without pixel buffers the picks still draw their numbers and the checked accessors report.
    for (int32_t n = count; n > 0; --n) {
      const int32_t col = std::rand() % sw;
      const int32_t row = std::rand() % sh;
      const uint32_t p = img_get_pixel(sprite, col, row);
      if (p != 0) img_set_pixel(dst, wrap_add(sprite->x, col), wrap_add(sprite->y, row), p);
    }
    return;
  }
  // The picks lie inside the sprite (the numbers are non-negative). The sprite's visible part
  // is clipped once; a pick outside it still draws its two numbers, in the order of the picks.
  ImgRect seen;
  const bool visible = img_clip_rect(dst, sprite->x, sprite->y, sw, sh, &seen);
  const int64_t first_col = visible ? seen.col - int64_t(sprite->x) : 0, end_col = visible ? first_col + seen.w : 0;
  const int64_t first_row = visible ? seen.row - int64_t(sprite->y) : 0, end_row = visible ? first_row + seen.h : 0;
  for (int32_t n = count; n > 0; --n) {
    const int32_t col = std::rand() % sw;
    const int32_t row = std::rand() % sh;
    if (col < first_col || col >= end_col || row < first_row || row >= end_row) continue;
    const uint32_t p = img_row(sprite, row)[col];
    if (p != 0) img_row(dst, seen.row + int32_t(row - first_row))[seen.col + (col - first_col)] = p;
  }
}

void imgfx_line_bicolor(Image* image, int32_t col0, int32_t row0, uint32_t colour0, int32_t col1,
                        int32_t row1, uint32_t colour1) {
  if (!img_valid(image)) {
    // Every plotted pixel would report the image module's error; one report stands for them.
    img_set_pixel(image, col0, row0, colour0);
    return;
  }
  if (col0 == col1 && row0 == row1) {
    img_set_pixel(image, col0, row0, colour0);
    return;
  }
  LineSpan span;
  if (!img_clip_line(image, col0, row0, col1, row1, &span)) return;
  // Dither: step i subtracts i from m and adds len back whenever m drops to 0 or below, which
  // keeps 0 < m <= len; so before the first plotted step f, m = len - (f (f - 1) / 2 mod len),
  // or len when that remainder is 0.
  const int64_t len = span.error_up;
  int64_t m = len;
  if (span.first > 0) {
    const uint64_t a = uint64_t(span.first), b = uint64_t(span.first - 1);
    const uint64_t tri = (a % 2 == 0) ? (a / 2) * b : a * (b / 2);  // < 2^64: f < 2^33
    m = len - int64_t(tri % uint64_t(len));
  }
  uint32_t* p = image->pixels + span.start;
  int64_t e = span.error;
  for (int64_t i = span.first, n = span.count;; ++i) {
    m -= i;
    if (m <= 0) {
      m += len;
      *p = colour1;
    } else {
      *p = colour0;
    }
    if (--n == 0) break;
    p += span.major_step;
    e -= span.error_down;
    if (e <= 0) {
      e += span.error_up;
      p += span.minor_step;
    }
  }
}
