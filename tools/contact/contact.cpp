// krom-contact OUTDIR: renders the embedded artwork to PNG contact sheets for the documentation.
// krom-contact --icons OUTDIR: the desktop icon in the usual sizes, OUTDIR/krom7316-N.png.
// Everything passes through the show's own decoders and drawing, so the sheets show what the
// show will show: the glyph sheet, both sprite sheets side by side, the logo, and the 96
// printable glyphs of each wire font.
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "audio/list.h"
#include "image/img.h"
#include "resources/resources.h"
#include "vector/lfont.h"
#include "vector/obj2d.h"

namespace {

constexpr uint32_t kGrid = 0x202838;  // lines between cells, so that black reads as empty

bool write_png(const std::string& path, const Image* img) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, png_uint_32(img->width), png_uint_32(img->height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 9);
  png_write_info(png, info);
  std::vector<png_byte> row(std::size_t(img->width) * 3);
  for (int32_t y = 0; y < img->height; ++y) {
    const uint32_t* src = img_row(img, y);
    for (int32_t x = 0; x < img->width; ++x) {
      row[std::size_t(x) * 3] = png_byte(src[x] >> 16);
      row[std::size_t(x) * 3 + 1] = png_byte(src[x] >> 8);
      row[std::size_t(x) * 3 + 2] = png_byte(src[x]);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0;
}

Image* blank(int32_t w, int32_t h, uint32_t colour) {
  Image* img = img_new();
  img_resize(img, w, h);
  img_fill_rect(img, 0, 0, w, h, colour);
  return img;
}

// Copies tiles of `tile` x `tile` pixels enlarged by `zoom` into cells of a grid. Cell k of the
// output is tile `pick(k)` of the source (given as its top-left corner).
struct TileAt {
  int32_t sx, sy;
};
template <typename Pick>
Image* tile_grid(const Image* src, int32_t tile, int32_t zoom, int32_t cols, int32_t rows, Pick pick) {
  int32_t cell = tile * zoom + 1;
  Image* out = blank(cols * cell + 1, rows * cell + 1, kGrid);
  for (int32_t k = 0; k < cols * rows; ++k) {
    TileAt t = pick(k);
    int32_t ox = k % cols * cell + 1, oy = k / cols * cell + 1;
    for (int32_t y = 0; y < tile * zoom; ++y) {
      uint32_t* dst = img_row(out, oy + y) + ox;
      const uint32_t* s = img_row(src, t.sy + y / zoom) + t.sx;
      for (int32_t x = 0; x < tile * zoom; ++x) dst[x] = s[x / zoom];
    }
  }
  return out;
}

// The 96 printable glyphs of a wire font, 16 to a row, each drawn at `scale` in a cell of
// `cell` pixels, the way the vector font draws them.
Image* font_sheet(const unsigned char* text, int32_t scale, int32_t cell, int32_t shift) {
  List* glyphs = obj2d_parse_library(reinterpret_cast<const char*>(text));
  if (!glyphs) return nullptr;
  Image* out = blank(16 * cell + 1, 6 * cell + 1, kGrid);
  for (int32_t k = 0; k < 96; ++k) img_fill_rect(out, k % 16 * cell + 1, k / 16 * cell + 1, cell - 1, cell - 1, 0);
  LFont* font = lfont_new();
  font->glyphs = glyphs;
  font->image = out;
  font->scale = Vec2d{scale, scale, 0xFFFFFF};
  for (int32_t k = 0; k < 96; ++k) {
    font->code = 32 + k;
    int32_t margin = (cell - 1 - shift * scale) / 2;
    font->cursor = Vec2d{k % 16 * cell + 1 + margin, k / 16 * cell + 1 + margin, 0xFFFFFF};
    lfont_draw_char(font);
  }
  lfont_free(&font);
  obj2d_free_library(&glyphs);
  return out;
}

bool save(const std::string& dir, const char* name, Image* img) {
  bool ok = img && write_png(dir + "/" + name, img);
  if (!ok) std::fprintf(stderr, "krom-contact: cannot make %s/%s\n", dir.c_str(), name);
  img_free(&img);
  return ok;
}

// The desktop icon, `size` pixels square: the logo's K (its first 64 x 64 tile) over a deep blue
// plate with rounded corners that brightens towards the top, as the loading screen's blue. The
// plate is drawn at each size; the K is enlarged by whole pixels (128, 256) or, below 64, each
// icon pixel takes the mean of the logo pixels it covers, weighted by how much of it they cover
// and blended over the plate by the share of them that is not the transparent key 0.
Image* make_icon(const Image* logo, int32_t size) {
  Image* icon = blank(size, size, 0);
  if (!icon) return nullptr;
  const int32_t r = size / 8;         // corner radius: 8 at 64
  const int32_t last = size - 1;
  for (int32_t y = 0; y < size; ++y) {
    uint32_t* row = img_row(icon, y);
    for (int32_t x = 0; x < size; ++x) {
      const int32_t cx = x < r ? r - x : (x > last - r ? x - (last - r) : 0);
      const int32_t cy = y < r ? r - y : (y > last - r ? y - (last - r) : 0);
      if (cx * cx + cy * cy > r * r) continue;   // outside the rounded corner
      const uint32_t g = uint32_t(0x60 - y * 0x50 / last);
      const uint32_t b = uint32_t(0xe0 - y * 0x90 / last);
      row[x] = g << 8 | b;
    }
  }
  for (int32_t y = 0; y < size; ++y) {
    uint32_t* row = img_row(icon, y);
    for (int32_t x = 0; x < size; ++x) {
      // The logo's area under icon pixel (x, y), in 64ths of a logo pixel times `size`.
      uint64_t sum[3] = {0, 0, 0};
      uint64_t lit = 0, all = 0;
      const int32_t x0 = x * 64, x1 = (x + 1) * 64, y0 = y * 64, y1 = (y + 1) * 64;
      for (int32_t ly = y0 / size; ly * size < y1; ++ly) {
        const int32_t hy = std::min(y1, (ly + 1) * size) - std::max(y0, ly * size);
        for (int32_t lx = x0 / size; lx * size < x1; ++lx) {
          const int32_t hx = std::min(x1, (lx + 1) * size) - std::max(x0, lx * size);
          const uint64_t w = uint64_t(hx) * uint64_t(hy);
          const uint32_t p = img_get_pixel(logo, lx, ly);
          all += w;
          if (p == 0) continue;
          lit += w;
          sum[0] += w * (p >> 16 & 0xff);
          sum[1] += w * (p >> 8 & 0xff);
          sum[2] += w * (p & 0xff);
        }
      }
      if (lit == 0) continue;
      uint32_t out = 0;
      for (int c = 0; c < 3; ++c) {
        const uint64_t under = row[x] >> (16 - 8 * c) & 0xff;
        const uint64_t v = (sum[c] + under * (all - lit) + all / 2) / all;
        out |= uint32_t(v) << (16 - 8 * c);
      }
      row[x] = out;
    }
  }
  return icon;
}

}  // namespace

int icons(const std::string& dir) {
  Image* logo = img_read_pnm(res_logo, res_logo_size);
  if (!logo) {
    std::fprintf(stderr, "krom-contact: the embedded logo does not decode\n");
    return 1;
  }
  bool ok = true;
  for (int32_t size : {16, 22, 24, 32, 48, 64, 128, 256})
    ok = save(dir, ("krom7316-" + std::to_string(size) + ".png").c_str(), make_icon(logo, size)) && ok;
  img_free(&logo);
  return ok ? 0 : 1;
}

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--icons") return icons(argv[2]);
  if (argc != 2) {
    std::fprintf(stderr, "usage: krom-contact OUTDIR | krom-contact --icons OUTDIR\n");
    return 2;
  }
  std::string dir = argv[1];
  Image* glyphs = img_read_pnm(res_glyphs, res_glyphs_size);
  Image* balls = img_read_pnm(res_balls, res_balls_size);
  Image* stars = img_read_pnm(res_stars, res_stars_size);
  Image* logo = img_read_pnm(res_logo, res_logo_size);
  if (!glyphs || !balls || !stars || !logo) {
    std::fprintf(stderr, "krom-contact: an embedded picture does not decode\n");
    return 1;
  }
  bool ok = save(dir, "contact-glyphs.png", tile_grid(glyphs, 16, 2, 16, 16, [](int32_t k) { return TileAt{k % 16 * 16, k / 16 * 16}; }));
  // Both strips turned into rows: balls above, stars below.
  Image* strips = blank(16, 512, 0);
  img_blit(balls, strips, 0, 0, 0, 0, 16, 256);
  img_blit(stars, strips, 0, 0, 0, 256, 16, 256);
  ok = save(dir, "contact-sprites.png", tile_grid(strips, 16, 3, 16, 2, [](int32_t k) { return TileAt{0, k * 16}; })) && ok;
  img_free(&strips);
  ok = save(dir, "contact-logo.png", tile_grid(logo, 64, 2, 4, 1, [](int32_t k) { return TileAt{k * 64, 0}; })) && ok;
  ok = save(dir, "icon.png", make_icon(logo, 64)) && ok;
  ok = save(dir, "contact-font8.png", font_sheet(res_font8, 4, 41, 7)) && ok;
  ok = save(dir, "contact-font16.png", font_sheet(res_font16, 2, 41, 15)) && ok;
  img_free(&glyphs);
  img_free(&balls);
  img_free(&stars);
  img_free(&logo);
  return ok ? 0 : 1;
}
