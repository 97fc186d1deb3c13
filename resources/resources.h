// RES: the data the show carries inside itself. Each array is a complete file of resources/data/
// turned into bytes at build time, followed by one terminating zero; *_size is the file's length
// without that zero. Nothing is read from disk at run time.
#pragma once
#include <cstddef>

// Glyph picture, raw grey map (P5) 256 x 256: 16 x 16 cells of 16 x 16, glyph c at column c % 16,
// row c / 16; rows 2-7 the printable characters 32-127, the other rows decorations. Black is clear.
extern const unsigned char res_glyphs[];
extern const std::size_t res_glyphs_size;
// Ball sheet, raw pixmap (P6) 16 x 256: 16 tiles stacked vertically; tiles 0-11 a shaded ball in
// grey, white, red, orange, yellow, lime, green, cyan, azure, violet, magenta, pink; 12-15 a white mark.
extern const unsigned char res_balls[];
extern const std::size_t res_balls_size;
// Star sheet, raw pixmap (P6) 16 x 256: the same layout with a shaded five-pointed star.
extern const unsigned char res_stars[];
extern const std::size_t res_stars_size;
// Logo picture, raw grey map (P5) 256 x 64: the word KROM in large bevelled grey letters on black.
extern const unsigned char res_logo[];
extern const std::size_t res_logo_size;
// 8 x 8 wire font, object-library text: 256 objects, object n draws character code n.
extern const unsigned char res_font8[];
extern const std::size_t res_font8_size;
// 16 x 16 wire font, object-library text: the same layout, coordinates 0 to 15.
extern const unsigned char res_font16[];
extern const std::size_t res_font16_size;
// Info text for the vector scroller: upper-case lines, each ending with a line feed.
extern const unsigned char res_info[];
extern const std::size_t res_info_size;
