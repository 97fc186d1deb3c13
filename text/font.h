// FONT: bitmap text. Copies fixed-size glyph tiles from a glyph sheet onto a target image, left
// to right from the pen (x, y), with black (0) as the transparent key. Users set the pen, the
// glyph size, `sheet` and `target` directly after font_new. Neither image is owned.
#pragma once
#include <cstdint>

struct Image;

struct Font {
  int32_t x;             // pen column: left edge of the next glyph
  int32_t y;             // pen row: top edge of the glyphs
  int32_t z;             // unused
  int32_t glyph_width;   // tile width in pixels; 6 after creation
  int32_t glyph_height;  // tile height in pixels; 6 after creation
  int32_t depth;         // unused
  int32_t glyph;         // index of the glyph drawn next
  Image* sheet;          // tiles row-major, wrapped at the sheet's width; not owned
  Image* target;         // not owned
};

Font* font_new();               // all 0, glyph size 6 x 6; null on allocation failure
void font_free(Font** font);    // frees the record only; nulls the caller's pointer
// Glyph `glyph` comes from sheet column (glyph*w) mod sheet width, row ((glyph*w) div sheet
// width) * h. Draws it keyed at the pen, then x += glyph_width (also when clipped away).
void font_put_glyph(Font* font);
// Draws the bytes (as unsigned glyph numbers) up to the first line feed or NUL.
void font_print(Font* font, const char* text);
