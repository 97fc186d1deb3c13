// Vector font: pen movement, bad codes, hexadecimal digit order, recolouring.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/img.h"
#include "vector/lfont.h"
#include "vector/obj2d.h"

namespace {

// A 256-entry library in which glyph k is one point at its origin in colour 0x100 + k, except
// glyph 0, which is empty. Drawing a text with advance 1 on a one-row image leaves the codes of
// the drawn characters, in order, as pixels.
class LFontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    glyphs = list_new();
    for (int k = 0; k < 256; ++k) {
      Obj2d* o = obj2d_new();
      if (k != 0) {
        Seg2d* s = seg2d_new();
        s->a = Vec2d{0, 0, 0};
        s->b = Vec2d{0, 0, 0};
        obj2d_add_segment(o, s);
        obj2d_set_colour(o, 0x100u + uint32_t(k));
      }
      list_push(glyphs, o);
    }
    img = img_new();
    img_resize(img, 16, 4);
    font = lfont_new();
    font->glyphs = glyphs;
    font->image = img;
  }
  void TearDown() override {
    lfont_free(&font);
    obj2d_free_library(&glyphs);
    img_free(&img);
  }
  // Codes of the characters drawn on row 0, read back from the pixels.
  std::string row_text(int n) {
    std::string out;
    for (int c = 0; c < n; ++c) {
      const uint32_t p = img_get_pixel(img, c, 0);
      out += p ? char(p - 0x100) : '.';
    }
    return out;
  }
  void unit_cells() {
    font->advance = Vec2d{1, 1, 0};
    font->cursor = Vec2d{0, 0, 0};
  }
  List* glyphs = nullptr;
  Image* img = nullptr;
  LFont* font = nullptr;
};

TEST_F(LFontTest, NewDefaults) {
  LFont* f = lfont_new();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->cursor.x, 0);
  EXPECT_EQ(f->cursor.y, 0);
  EXPECT_EQ(f->advance.x, 16);
  EXPECT_EQ(f->advance.y, 16);
  EXPECT_EQ(f->code, 0);
  EXPECT_EQ(f->scale.x, 1);
  EXPECT_EQ(f->scale.y, 1);
  EXPECT_EQ(f->angle, 0);
  EXPECT_EQ(f->glyphs, nullptr);
  EXPECT_EQ(f->image, nullptr);
  lfont_free(&f);
  EXPECT_EQ(f, nullptr);
}

TEST_F(LFontTest, PenMovesByScaledAdvance) {
  font->code = 'A';
  lfont_draw_char(font);
  EXPECT_EQ(font->cursor.x, 16);
  EXPECT_EQ(font->cursor.y, 0);
  EXPECT_EQ(img_get_pixel(img, 0, 0), 0x100u + 'A');

  font->cursor = Vec2d{3, 2, 0};
  font->scale = Vec2d{8, 8, 0};
  font->advance = Vec2d{8, 8, 0};
  lfont_draw_char(font);
  EXPECT_EQ(font->cursor.x, 67);
  EXPECT_EQ(font->cursor.y, 2);
}

// The glyph takes the font's scale, angle and pen before it is drawn.
TEST_F(LFontTest, GlyphTakesScaleAngleAndPen) {
  auto* glyph = static_cast<Obj2d*>(list_get(glyphs, 'B'));
  auto* s = static_cast<Seg2d*>(list_get(glyph->segments, 0));
  s->b.x = 2;  // a short horizontal stroke
  font->code = 'B';
  font->cursor = Vec2d{3, 1, 0};
  font->scale = Vec2d{2, 2, 0};
  lfont_draw_char(font);
  EXPECT_EQ(glyph->position.x, 3);
  EXPECT_EQ(glyph->position.y, 1);
  EXPECT_EQ(glyph->scale.x, 2);
  EXPECT_EQ(glyph->angle, 0);
  for (int c = 3; c <= 7; ++c) EXPECT_EQ(img_get_pixel(img, c, 1), 0x100u + 'B') << c;
  EXPECT_EQ(img_get_pixel(img, 8, 1), 0u);

  font->angle = 256;  // a quarter turn: the stroke points down
  font->cursor = Vec2d{10, 0, 0};
  font->scale = Vec2d{1, 1, 0};
  lfont_draw_char(font);
  EXPECT_EQ(glyph->angle, 256);
  EXPECT_EQ(img_get_pixel(img, 10, 1), 0x100u + 'B');
  EXPECT_EQ(img_get_pixel(img, 11, 0), 0u);
}

TEST_F(LFontTest, BadCodesLeaveThePen) {
  // The LFONT report switch is off: refused characters print nothing.
  testing::internal::CaptureStdout();
  for (int32_t code : {300, 256, -1, -128}) {
    font->code = code;
    font->cursor = Vec2d{5, 0, 0};
    lfont_draw_char(font);
    EXPECT_EQ(font->cursor.x, 5) << code;
  }
  // A null entry in the library behaves like a bad code.
  void* seven = list_get(glyphs, 7);
  list_set(glyphs, 7, nullptr);
  font->code = 7;
  lfont_draw_char(font);
  EXPECT_EQ(font->cursor.x, 5);
  list_set(glyphs, 7, seven);

  font->glyphs = nullptr;
  font->code = 'A';
  lfont_draw_char(font);
  EXPECT_EQ(font->cursor.x, 5);
  font->glyphs = glyphs;
  lfont_draw_char(nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(row_text(16), "................");
}

TEST_F(LFontTest, EmptyGlyphAndMissingImageStillMoveThePen) {
  font->code = 0;
  lfont_draw_char(font);
  EXPECT_EQ(font->cursor.x, 16);
  font->image = nullptr;
  font->code = 'A';
  lfont_draw_char(font);
  EXPECT_EQ(font->cursor.x, 32);
  EXPECT_EQ(row_text(16), "................");
}

TEST_F(LFontTest, HexDigitsMostSignificantFirst) {
  struct Case {
    int width;
    uint32_t value;
    const char* want;
  } cases[] = {
      {32, 0x12345678u, "12345678"}, {32, 255u, "000000FF"}, {32, 0xDEADBEEFu, "DEADBEEF"},
      {16, 0x0F1Eu, "0F1E"},         {8, 0xABu, "AB"},       {8, 0x09u, "09"},
  };
  for (const auto& c : cases) {
    img_resize(img, 16, 4);
    unit_cells();
    if (c.width == 32) lfont_print_hex32(font, c.value);
    if (c.width == 16) lfont_print_hex16(font, uint16_t(c.value));
    if (c.width == 8) lfont_print_hex8(font, uint8_t(c.value));
    const int n = c.width / 4;
    EXPECT_EQ(row_text(n), c.want);
    EXPECT_EQ(font->cursor.x, n);
  }
}

TEST_F(LFontTest, SetColourReachesEveryGlyph) {
  // A library from text with its own colours; recolouring overrides them.
  List* lib = obj2d_parse_library("c $ff0000\n{ s 0 0 1 0 }\n{ }\n}\n{ c $00ff00 s 0 1 1 1 }\n");
  ASSERT_EQ(lib->count, 4);
  font->glyphs = lib;
  lfont_set_colour(font, 0x123456);
  for (int32_t i = 0; i < lib->count; ++i) {
    const auto* o = static_cast<const Obj2d*>(list_get(lib, i));
    if (!o) continue;
    EXPECT_EQ(o->colour, 0x123456u);
    for (int32_t k = 0; k < o->points->count; ++k)
      EXPECT_EQ(static_cast<const Vec2d*>(list_get(o->points, k))->colour, 0x123456u);
  }
  font->code = 3;
  font->advance = Vec2d{1, 1, 0};
  font->cursor = Vec2d{0, 0, 0};
  lfont_draw_char(font);
  EXPECT_EQ(img_get_pixel(img, 0, 1), 0x123456u);
  EXPECT_EQ(img_get_pixel(img, 1, 1), 0x123456u);
  font->glyphs = glyphs;
  obj2d_free_library(&lib);
}

}  // namespace
