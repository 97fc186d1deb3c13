// IMG: the one picture type. An Image owns width x height pixel words 0x00RRGGBB, row-major,
// no pitch. Reads outside give 0, writes outside are dropped; the word 0 is the transparent key
// of keyed copies. Drawing operations clip on their own; callers never clip.
#pragma once
#include <cstddef>
#include <cstdint>

struct Image {
  int32_t x, y, z;                 // position when drawn at its own place (img_draw, sparkle)
  int32_t width, height, depth;    // extent; depth is unused
  uint32_t* pixels;                // owned, width * height words, or null
};

Image* img_new();                                  // 16 x 16, all 0; null on allocation failure
void img_free(Image** image);                      // frees and nulls the caller's pointer
void img_resize(Image* image, int32_t width, int32_t height);  // new zeroed buffer
void img_copy(const Image* src, Image* dst);       // same size only
void img_set_pixel(Image* image, int32_t col, int32_t row, uint32_t pixel);
uint32_t img_get_pixel(const Image* image, int32_t col, int32_t row);

// Row start of a valid image (no checks): for inner loops that own their clipping.
inline uint32_t* img_row(Image* image, int32_t row) { return image->pixels + std::size_t(row) * std::size_t(image->width); }
inline const uint32_t* img_row(const Image* image, int32_t row) { return image->pixels + std::size_t(row) * std::size_t(image->width); }
// True when the image exists and has a pixel buffer.
inline bool img_valid(const Image* image) { return image && image->pixels; }

// Drawing primitives.
void img_blit(const Image* src, Image* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h);
void img_blit_keyed(const Image* src, Image* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h);
void img_draw(const Image* src, Image* dst);       // keyed, whole source at (src->x, src->y)
void img_fill_rect(Image* image, int32_t col, int32_t row, int32_t w, int32_t h, uint32_t colour);
void img_line(Image* image, int32_t col0, int32_t row0, int32_t col1, int32_t row1, uint32_t colour);
void img_fill_row(Image* image, uint32_t colour, int32_t row, int32_t first, int32_t last);
void img_blend_row(Image* image, uint32_t colour, int32_t row, int32_t first, int32_t last, int32_t weight);
void img_sub_colour(Image* image, uint32_t colour);               // per channel, floored at 0
void img_scale_colour(Image* image, int32_t num, int32_t den);    // per channel v*num/den, capped

// The one clipping of rectangles and row runs: the part of the rectangle at (col, row) of w x h
// pixels that lies inside the image. On success fills `out` (w, h > 0, all inside) and returns
// true; false when nothing is inside (w or h <= 0 included). Draw from img_row(image, out.row + j)
// + out.col, out.w pixels a row.
struct ImgRect { int32_t col, row, w, h; };
bool img_clip_rect(const Image* image, int64_t col, int64_t row, int64_t w, int64_t h, ImgRect* out);

// Clipped rectangle transfer shared by the blits (img_clip_rect on the source, then on the
// destination): on success fills the clipped corners and size
// (w, h > 0) and returns true; false when nothing is to be drawn.
struct BlitRect { int32_t sx, sy, dx, dy, w, h; };
bool img_clip_blit(const Image* src, const Image* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                   int32_t w, int32_t h, BlitRect* out);

// A line clipped to an image, as the Bresenham walk from (col0, row0) to (col1, row1) plots it:
// `count` (>= 1) pixels from pixels[start] on, the first of them step `first` of the whole walk.
// Each further step moves by major_step; then error -= error_down, and when error <= 0,
// error += error_up and the step also moves by minor_step. Returns false when nothing is inside.
struct LineSpan {
  std::size_t start;
  int64_t first, count;
  std::ptrdiff_t major_step, minor_step;
  int64_t error, error_down, error_up;
};
bool img_clip_line(const Image* image, int32_t col0, int32_t row0, int32_t col1, int32_t row1, LineSpan* out);

// Portable anymap decoder (P1..P6) from a buffer of `size` bytes; null on any malformed input.
Image* img_read_pnm(const unsigned char* data, std::size_t size);
