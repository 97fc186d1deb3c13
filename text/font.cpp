// FONT: bitmap glyph printing with the keyed rectangle transfer.
#include "text/font.h"

#include <cstdio>
#include <cstdlib>

#include "image/fixed.h"
#include "image/ident.h"
#include "image/img.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {"FONT    ", "20240312", "LINUX   ", "Kelvardo", "CODE    "};
constexpr bool kReport = false;

void font_error() {
  if constexpr (kReport) std::puts("FONT Error.");
}

}  // namespace

Font* font_new() {
  auto* font = static_cast<Font*>(std::calloc(1, sizeof(Font)));
  if (!font) {
    font_error();
    return nullptr;
  }
  font->glyph_width = 6;
  font->glyph_height = 6;
  return font;
}

void font_free(Font** font) {
  if (!font || !*font) {
    font_error();
    return;
  }
  std::free(*font);
  *font = nullptr;
}

void font_put_glyph(Font* font) {
  if (!font || !font->sheet) {
    font_error();
    return;
  }
  const int32_t sheet_width = font->sheet->width;
  // A sheet without columns holds no tiles (and nothing to divide by): the pen still moves.
  if (sheet_width > 0) {
    const int32_t a = wrap_mul(font->glyph, font->glyph_width);
    const int32_t sc = a % sheet_width;
    const int32_t sr = wrap_mul(a / sheet_width, font->glyph_height);
    img_blit_keyed(font->sheet, font->target, sc, sr, font->x, font->y, font->glyph_width, font->glyph_height);
  }
  font->x = wrap_add(font->x, font->glyph_width);
}

void font_print(Font* font, const char* text) {
  if (!font || !text) {
    font_error();
    return;
  }
  for (const char* p = text; *p != 0 && *p != '\n'; ++p) {
    font->glyph = static_cast<unsigned char>(*p);
    font_put_glyph(font);
  }
}
