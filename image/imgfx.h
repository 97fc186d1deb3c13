// IMGFX: whole-image post effects (horizontal box blur, horizontal glare, four- and eight-way
// mirror) that the frame loop applies to the finished screen, and the scene effects (additive
// rectangle transfer, sprite sparkle, two-colour dithered line). Everything beyond an image's
// border reads as black; writes beyond it are dropped.
#pragma once
#include <cstdint>

#include "image/img.h"

// Horizontal box blur from src into dst (different images), each channel over its own window of
// 2 * radius + 1 columns (radius >= 0; any negative radius: nothing happens). The divisor stays
// 2 * radius + 1 at the borders, so the edges darken. Walks src's size; dst loses what falls outside.
void imgfx_blur_h(const Image* src, Image* dst, int32_t radius_r, int32_t radius_g, int32_t radius_b);

// Horizontal glow from src into dst (different images): each channel is the centre plus each of
// the two left and two right neighbours shifted right by `shift` (3 in use), capped at 255. A shift
// of 32 or more drops the neighbours (a plain copy); a negative shift does nothing.
void imgfx_glare(const Image* src, Image* dst, int32_t shift = 3);

// Copies the top-left quarter, mirrored, into the other three quarters (in place).
void imgfx_mirror4(Image* image);
// Copies the top-left eighth (on and above the quarter's diagonal) into all eight symmetric
// positions (in place); meant for square images, writes outside a non-square one are dropped.
void imgfx_mirror8(Image* image);

// Adds the clipped w x h rectangle of src at (sx, sy) onto dst at (dx, dy), per channel, capped
// at 255. Clips like img_blit.
void imgfx_blit_add(const Image* src, Image* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                    int32_t w, int32_t h);

// Copies `count` pixels of the sprite, picked with rand() (column first, then row), to dst at the
// sprite's own position (sprite->x, sprite->y); picked pixels of 0 are skipped but still counted.
void imgfx_sparkle(Image* dst, const Image* sprite, int32_t count);

// Line from (col0, row0) to (col1, row1), both ends included (the img_line walk): colour0 near the
// start, colour1 near the end, dithered in between; the last pixel is colour1 unless the line is
// a single point.
void imgfx_line_bicolor(Image* image, int32_t col0, int32_t row0, uint32_t colour0, int32_t col1,
                        int32_t row1, uint32_t colour1);
