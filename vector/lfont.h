// LFONT: text drawn with wire objects. A library List of Obj2d in which entry n draws character
// code n serves as the font; each character places its glyph at the pen with the font's scale
// and angle, then moves the pen right by one scaled cell. The glyphs and image are not owned.
#pragma once
#include <cstdint>

#include "audio/list.h"
#include "vector/vec2d.h"

struct Image;

struct LFont {
  Vec2d cursor;    // pen: where the next glyph's origin goes; (0, 0) at creation
  Vec2d advance;   // x: pen advance per character before scaling; y: line height; (16, 16)
  int32_t code;    // character code drawn next = index into glyphs
  Vec2d scale;     // given to every glyph; (1, 1) at creation
  int32_t angle;   // given to every glyph, 1024 units per turn
  List* glyphs;    // Obj2d* library, not owned
  Image* image;    // target, not owned
};

LFont* lfont_new();                 // null on allocation failure
void lfont_free(LFont** font);      // frees the record only; nulls the caller's pointer
// Draws glyph `code` at `cursor`, then cursor.x += advance.x * scale.x. A code outside the
// library or a null entry draws nothing and leaves the pen where it was.
void lfont_draw_char(LFont* font);
void lfont_print_hex8(LFont* font, uint8_t value);     // two upper-case digits, high first
void lfont_print_hex16(LFont* font, uint16_t value);   // four digits
void lfont_print_hex32(LFont* font, uint32_t value);   // eight digits
void lfont_set_colour(LFont* font, uint32_t colour);   // recolours every glyph of the library
