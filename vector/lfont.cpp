// LFONT: wire-object font drawing and hexadecimal printing.
#include "vector/lfont.h"

#include <cstdio>
#include <cstdlib>

#include "image/fixed.h"
#include "image/ident.h"
#include "vector/obj2d.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {"LFONT   ", "20240312", "Kelvardo", "C       ", "CODE    "};
constexpr bool kReport = false;

void lfont_error() {
  if constexpr (kReport) std::puts("LFONT Error.");
}

void draw_digit(LFont* font, uint32_t digit) {
  font->code = static_cast<int32_t>(digit <= 9 ? 48 + digit : 55 + digit);
  lfont_draw_char(font);
}

}  // namespace

LFont* lfont_new() {
  auto* font = static_cast<LFont*>(std::calloc(1, sizeof(LFont)));
  if (!font) {
    lfont_error();
    return nullptr;
  }
  font->cursor = Vec2d{0, 0, 0xFFFFFF};
  font->advance = Vec2d{16, 16, 0xFFFFFF};
  font->scale = Vec2d{1, 1, 0xFFFFFF};
  return font;
}

void lfont_free(LFont** font) {
  if (!font || !*font) {
    lfont_error();
    return;
  }
  std::free(*font);
  *font = nullptr;
}

void lfont_draw_char(LFont* font) {
  if (!font || !font->glyphs || font->code < 0 || font->code >= font->glyphs->count) {
    lfont_error();
    return;
  }
  auto* glyph = static_cast<Obj2d*>(font->glyphs->items[font->code]);
  if (!glyph) {
    lfont_error();
    return;
  }
  glyph->scale = font->scale;
  glyph->angle = font->angle;
  glyph->position = font->cursor;
  obj2d_draw(glyph, font->image);
  font->cursor.x = wrap_add(font->cursor.x, wrap_mul(font->advance.x, font->scale.x));
}

void lfont_print_hex8(LFont* font, uint8_t value) {
  if (!font) {
    lfont_error();
    return;
  }
  draw_digit(font, value >> 4);
  draw_digit(font, value & 15u);
}

void lfont_print_hex16(LFont* font, uint16_t value) {
  lfont_print_hex8(font, static_cast<uint8_t>(value >> 8));
  lfont_print_hex8(font, static_cast<uint8_t>(value & 0xFFu));
}

void lfont_print_hex32(LFont* font, uint32_t value) {
  lfont_print_hex16(font, static_cast<uint16_t>(value >> 16));
  lfont_print_hex16(font, static_cast<uint16_t>(value & 0xFFFFu));
}

void lfont_set_colour(LFont* font, uint32_t colour) {
  if (!font || !font->glyphs) {
    lfont_error();
    return;
  }
  for (int32_t i = font->glyphs->count - 1; i >= 0; --i) {
    auto* glyph = static_cast<Obj2d*>(font->glyphs->items[i]);
    if (glyph) obj2d_set_colour(glyph, colour);
  }
}
