// Bitmap font: where each glyph is found on the sheet, how the pen moves, where printing stops,
// and the black key of the glyph transfer.
#include <gtest/gtest.h>

#include "image/img.h"
#include "text/font.h"

namespace {

// Every sheet pixel names its own place: 0x100000 + row * 0x400 + col (never 0, so every tile
// pixel is opaque unless a test clears it).
constexpr uint32_t kMark = 0x100000;
uint32_t sheet_word(int32_t col, int32_t row) { return kMark + uint32_t(row) * 0x400u + uint32_t(col); }

Image* make_sheet(int32_t w, int32_t h) {
  Image* sheet = img_new();
  img_resize(sheet, w, h);
  for (int32_t r = 0; r < h; ++r)
    for (int32_t c = 0; c < w; ++c) img_set_pixel(sheet, c, r, sheet_word(c, r));
  return sheet;
}

class FontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    target = img_new();
    img_resize(target, 64, 32);
    font = font_new();
    font->target = target;
  }
  void TearDown() override {
    font_free(&font);
    img_free(&sheet);
    img_free(&target);
  }
  void use_sheet(int32_t w, int32_t h, int32_t gw, int32_t gh) {
    img_free(&sheet);
    sheet = make_sheet(w, h);
    font->sheet = sheet;
    font->glyph_width = gw;
    font->glyph_height = gh;
  }
  Image* sheet = nullptr;
  Image* target = nullptr;
  Font* font = nullptr;
};

TEST_F(FontTest, NewFontDefaults) {
  Font* f = font_new();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->x, 0);
  EXPECT_EQ(f->y, 0);
  EXPECT_EQ(f->z, 0);
  EXPECT_EQ(f->glyph_width, 6);
  EXPECT_EQ(f->glyph_height, 6);
  EXPECT_EQ(f->depth, 0);
  EXPECT_EQ(f->glyph, 0);
  EXPECT_EQ(f->sheet, nullptr);
  EXPECT_EQ(f->target, nullptr);
  font_free(&f);
  EXPECT_EQ(f, nullptr);
}

// Glyph k's tile corner on the sheet, read back from the target pixel under the pen.
struct LookupCase {
  int32_t sheet_w, sheet_h, gw, gh, glyph;
  bool drawn;
  int32_t col, row;
};

const LookupCase kLookups[] = {
    {256, 256, 16, 16, 65, true, 16, 64},   // capital A on the 16 x 16 grid
    {256, 256, 16, 16, 255, true, 240, 240},
    {256, 256, 16, 16, 0, true, 0, 0},
    {256, 256, 16, 16, 16, true, 0, 16},    // first glyph of the second tile row
    {16, 256, 16, 16, 3, true, 0, 48},      // a vertical strip of sprites
    {16, 256, 16, 16, 15, true, 0, 240},
    {16, 256, 16, 16, 16, false, 0, 0},     // below the strip: nothing
    {256, 256, 16, 16, 256, false, 0, 0},   // below the grid
    {64, 24, 8, 8, 9, true, 8, 8},          // 8 tiles per row
    {64, 24, 8, 8, 23, true, 56, 16},
    {64, 24, 8, 8, 24, false, 0, 0},
    {256, 256, 6, 6, 1, true, 6, 0},        // the default 6 x 6 size
};

TEST_F(FontTest, GlyphLookupOnTheSheet) {
  for (const auto& c : kLookups) {
    use_sheet(c.sheet_w, c.sheet_h, c.gw, c.gh);
    img_resize(target, 64, 32);
    font->x = 3;
    font->y = 2;
    font->glyph = c.glyph;
    font_put_glyph(font);
    EXPECT_EQ(font->x, 3 + c.gw) << c.glyph;
    if (!c.drawn) {
      EXPECT_EQ(img_get_pixel(target, 3, 2), 0u) << c.glyph;
      continue;
    }
    // Tile corner, far corner, and the pixels just outside the tile untouched.
    EXPECT_EQ(img_get_pixel(target, 3, 2), sheet_word(c.col, c.row)) << c.glyph;
    EXPECT_EQ(img_get_pixel(target, 3 + c.gw - 1, 2 + c.gh - 1), sheet_word(c.col + c.gw - 1, c.row + c.gh - 1))
        << c.glyph;
    EXPECT_EQ(img_get_pixel(target, 3 + c.gw, 2), 0u) << c.glyph;
    EXPECT_EQ(img_get_pixel(target, 3, 2 + c.gh), 0u) << c.glyph;
    EXPECT_EQ(img_get_pixel(target, 2, 2), 0u) << c.glyph;
  }
}

// Printing: one glyph per byte (taken unsigned) up to the first line feed or the NUL; the pen
// moves by one glyph width per glyph and never vertically.
struct PrintCase {
  const char* text;
  int32_t pen_moves;          // glyphs drawn
  const char* first_glyphs;   // glyph numbers of the first cells, as characters
};

const PrintCase kPrints[] = {
    {"AB\nDE", 2, "AB"},
    {"", 0, ""},
    {"\n", 0, ""},
    {"ABCDEF", 6, "ABCDEF"},
    {"A\rB", 3, "A\rB"},         // only the line feed ends a line
};

TEST_F(FontTest, PrintStopsAtLineFeedAndMovesThePen) {
  use_sheet(256, 256, 16, 16);
  img_resize(target, 128, 16);
  for (const auto& c : kPrints) {
    img_resize(target, 128, 16);
    font->x = 5;
    font->y = 0;
    font_print(font, c.text);
    EXPECT_EQ(font->x, 5 + 16 * c.pen_moves) << c.text;
    EXPECT_EQ(font->y, 0);
    const std::string glyphs = c.first_glyphs;
    for (size_t i = 0; i < glyphs.size(); ++i) {
      const int32_t g = uint8_t(glyphs[i]);
      EXPECT_EQ(img_get_pixel(target, 5 + 16 * int32_t(i), 0), sheet_word(g % 16 * 16, g / 16 * 16)) << c.text;
    }
    EXPECT_EQ(img_get_pixel(target, 5 + 16 * c.pen_moves, 0), 0u) << c.text;
  }
}

TEST_F(FontTest, BytesFromOneTwentyEightAreGlyphNumbers) {
  use_sheet(256, 256, 16, 16);
  font_print(font, "\xC1");
  EXPECT_EQ(font->glyph, 0xC1);
  EXPECT_EQ(img_get_pixel(target, 0, 0), sheet_word(16, 192));
}

// Black tile pixels keep the target; any other word replaces it.
TEST_F(FontTest, BlackIsTransparent) {
  use_sheet(16, 32, 16, 16);
  img_set_pixel(sheet, 0, 16, 0);  // glyph 1, tile pixel (0, 0)
  img_set_pixel(sheet, 1, 16, 0xFF000000u);
  for (int32_t c = 0; c < 4; ++c) img_set_pixel(target, c, 0, 0x00ABCDEF);
  font->glyph = 1;
  font_put_glyph(font);
  EXPECT_EQ(img_get_pixel(target, 0, 0), 0x00ABCDEFu);
  EXPECT_EQ(img_get_pixel(target, 1, 0), 0xFF000000u);  // not black: the word is copied unchanged
  EXPECT_EQ(img_get_pixel(target, 2, 0), sheet_word(2, 16));
}

// A pen partly outside the target clips the glyph; the pen still advances.
TEST_F(FontTest, GlyphsClipAtTheTargetEdges) {
  use_sheet(256, 256, 16, 16);
  font->x = -8;
  font->y = -8;
  font->glyph = 65;
  font_put_glyph(font);
  EXPECT_EQ(img_get_pixel(target, 0, 0), sheet_word(16 + 8, 64 + 8));
  EXPECT_EQ(img_get_pixel(target, 7, 7), sheet_word(16 + 15, 64 + 15));
  EXPECT_EQ(img_get_pixel(target, 8, 0), 0u);
  EXPECT_EQ(font->x, 8);
  font->x = 60;
  font->y = 0;
  font_print(font, "AAA");
  EXPECT_EQ(img_get_pixel(target, 63, 0), sheet_word(16 + 3, 64));
  EXPECT_EQ(font->x, 108);
}

TEST_F(FontTest, MissingSheetOrTarget) {
  // The FONT and IMG report switches are off: none of the refusals below prints anything.
  testing::internal::CaptureStdout();
  font->x = 10;
  font_put_glyph(font);  // no sheet: nothing, the pen stays
  EXPECT_EQ(font->x, 10);
  use_sheet(256, 256, 16, 16);
  font->target = nullptr;
  font_put_glyph(font);  // no target: nothing drawn, the pen moves
  EXPECT_EQ(font->x, 26);
  font_print(font, nullptr);
  EXPECT_EQ(font->x, 26);
  font_put_glyph(nullptr);
  font_print(nullptr, "A");
  font_free(nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

}  // namespace
