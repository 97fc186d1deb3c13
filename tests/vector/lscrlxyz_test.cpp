// 3D vector scroller: wave parameters from rand, attaching a text, scrolling forwards and
// backwards, and where and how large each visible character is drawn.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "image/img.h"
#include "text/cursor.h"
#include "vector/lfont.h"
#include "vector/lscrlxyz.h"
#include "vector/obj2d.h"

namespace {

// A font of 256 empty glyphs over a 256 x 256 image. Every glyph object keeps the position and
// scale of its last drawing, so with a text of distinct characters each glyph tells where its
// character went.
class LScrlXyzTest : public ::testing::Test {
 protected:
  void SetUp() override {
    glyphs = list_new();
    for (int k = 0; k < 256; ++k) list_push(glyphs, obj2d_new());
    img = img_new();
    img_resize(img, 256, 256);
    font = lfont_new();
    font->glyphs = glyphs;
    font->advance = Vec2d{8, 8, 0};
    font->scale = Vec2d{8, 8, 0};
    scroller = lscrlxyz_new();
    lscrlxyz_set_text(scroller, text.c_str(), font, img);
    set_waves({0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0});
    unmark_glyphs();
  }
  void TearDown() override {
    lscrlxyz_free(&scroller);
    lfont_free(&font);
    obj2d_free_library(&glyphs);
    img_free(&img);
  }
  Obj2d* glyph(unsigned char code) { return static_cast<Obj2d*>(list_get(glyphs, code)); }
  // Puts every glyph at a position no drawing produces.
  void unmark_glyphs() {
    for (int k = 0; k < 256; ++k) glyph(uint8_t(k))->position = Vec2d{-99999, -99999, 0};
  }
  void set_waves(LScrlWave xw, LScrlWave yw, LScrlWave sw) {
    scroller->x_wave = xw;
    scroller->y_wave = yw;
    scroller->scale_wave = sw;
  }
  std::string text = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  List* glyphs = nullptr;
  Image* img = nullptr;
  LFont* font = nullptr;
  LScrlXyz* scroller = nullptr;
};

TEST(LScrlXyzNew, DefaultsAndRandomDrawOrder) {
  std::srand(4242);
  int r[9];
  for (int& v : r) v = std::rand();
  std::srand(4242);
  LScrlXyz* s = lscrlxyz_new();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->x, 0);
  EXPECT_EQ(s->y, 0);
  EXPECT_EQ(s->speed, 1);
  EXPECT_EQ(s->fine, 0);
  EXPECT_EQ(s->text, nullptr);
  EXPECT_EQ(s->font, nullptr);
  EXPECT_EQ(s->image, nullptr);
  ASSERT_NE(s->cursor, nullptr);
  EXPECT_EQ(std::string(s->cursor->text, size_t(s->cursor->length)), "A scroll's default text. ");
  EXPECT_EQ(s->cursor->step, 1);
  // speed, step, amplitude of the x wave, then of the y wave, then of the scale wave.
  const LScrlWave want[3] = {{0, (r[0] & 31) + 16, (r[1] & 31) + 32, (r[2] & 63) + 16},
                             {0, (r[3] & 31) + 16, (r[4] & 31) + 32, (r[5] & 31) + 64},
                             {0, (r[6] & 31) + 16, (r[7] & 31) + 32, (r[8] & 7) + 1}};
  const LScrlWave* got[3] = {&s->x_wave, &s->y_wave, &s->scale_wave};
  for (int w = 0; w < 3; ++w) {
    EXPECT_EQ(got[w]->phase, want[w].phase) << w;
    EXPECT_EQ(got[w]->speed, want[w].speed) << w;
    EXPECT_EQ(got[w]->step, want[w].step) << w;
    EXPECT_EQ(got[w]->amplitude, want[w].amplitude) << w;
  }
  // A fresh scroller has no text: scrolling and drawing do nothing.
  lscrlxyz_scroll(s);
  lscrlxyz_draw(s);
  EXPECT_EQ(s->fine, 0);
  EXPECT_EQ(s->x_wave.phase, 0);
  lscrlxyz_free(&s);
  EXPECT_EQ(s, nullptr);
}

TEST_F(LScrlXyzTest, SetTextTakesStripFromImageAndFont) {
  scroller->speed = -7;
  scroller->fine = 12;
  scroller->x_wave.phase = 300;
  scroller->x = 40;
  scroller->y = 50;
  font->advance.y = 9;
  lscrlxyz_set_text(scroller, text.c_str(), font, img);
  EXPECT_EQ(scroller->x, 0);
  EXPECT_EQ(scroller->y, 0);
  EXPECT_EQ(scroller->width, 256);
  EXPECT_EQ(scroller->height, 9);
  EXPECT_EQ(scroller->cursor->length, 26);
  EXPECT_EQ(scroller->cursor->index, 0);
  EXPECT_EQ(scroller->cursor->text, text.c_str());
  EXPECT_EQ(scroller->speed, -7);
  EXPECT_EQ(scroller->fine, 12);
  EXPECT_EQ(scroller->x_wave.phase, 300);
  // A missing argument changes nothing.
  lscrlxyz_set_text(scroller, nullptr, font, img);
  lscrlxyz_set_text(scroller, text.c_str(), nullptr, img);
  lscrlxyz_set_text(scroller, text.c_str(), font, nullptr);
  lscrlxyz_set_text(nullptr, text.c_str(), font, img);
  EXPECT_EQ(scroller->text, text.c_str());
  EXPECT_EQ(scroller->height, 9);
}

// One scroll from a given fine offset with P = 64, waves with steps 10, 20, 30 and speeds 1, 2, 3.
struct ScrollCase {
  int32_t speed, fine;
  int32_t want_fine, want_index;   // cursor starts at index 5 of 26
  int32_t want_x_phase;            // x phase starts at 100
};

const ScrollCase kScrolls[] = {
    {5, 0, 5, 5, 101},       // inside the cell: only the drift
    {5, 59, 0, 6, 111},      // reaches P exactly: one cell on, phase + step
    {5, 63, 4, 6, 111},
    {64, 0, 0, 6, 111},
    {130, 0, 2, 7, 111},     // two cells at once, the phases still move by one step
    {0, 17, 17, 5, 101},
    {-5, 0, 59, 4, 91},      // (-5 / 64) - 1 = -1 cell, fine (-5 % 64) + 64
    {-5, 5, 0, 5, 101},      // 0 is not below 0: no step back
    {-1, 0, 63, 4, 91},
    {-64, 0, 64, 3, 91},     // a whole cell back lands on fine = P, two cells back
    {-130, 0, 62, 2, 91},    // -3 cells + 62 = -130
    {-200, 0, 56, 1, 91},
    {-5, 64, 59, 5, 101},    // from fine = P a small step back stays in the cell
    {1, 64, 1, 6, 111},      // and a forward one steps on at once
    {-5, 2, 61, 4, 91},
    {-400, 0, 48, 24, 91},   // -7 cells from index 5 wraps to the end of the text
};

TEST_F(LScrlXyzTest, ScrollOnceForwardsAndBackwards) {
  for (const auto& c : kScrolls) {
    set_waves({100, 1, 10, 0}, {200, 2, 20, 0}, {1020, 3, 30, 0});
    scroller->cursor->index = 5;
    scroller->speed = c.speed;
    scroller->fine = c.fine;
    lscrlxyz_scroll(scroller);
    const int32_t cells = c.want_x_phase == 101 ? 0 : (c.want_x_phase == 111 ? 1 : -1);
    EXPECT_EQ(scroller->fine, c.want_fine) << c.speed << " from " << c.fine;
    EXPECT_EQ(scroller->cursor->index, c.want_index) << c.speed << " from " << c.fine;
    EXPECT_EQ(scroller->x_wave.phase, c.want_x_phase) << c.speed << " from " << c.fine;
    EXPECT_EQ(scroller->y_wave.phase, 202 + 20 * cells) << c.speed;
    EXPECT_EQ(scroller->scale_wave.phase, (1023 + 30 * cells) & 1023) << c.speed;  // wraps past 1023
    EXPECT_EQ(scroller->speed, c.speed);
  }
}

TEST_F(LScrlXyzTest, BackPastTheStartWraps) {
  scroller->speed = -5;
  lscrlxyz_scroll(scroller);
  EXPECT_EQ(scroller->cursor->index, 25);
  EXPECT_EQ(scroller->fine, 59);
}

// speed 5, P = 64: 13 scrolls cross one cell.
TEST_F(LScrlXyzTest, ThirteenScrollsOfFive) {
  set_waves({0, 40, 33, 0}, {10, 47, 63, 0}, {1000, 16, 32, 0});
  scroller->speed = 5;
  for (int i = 0; i < 13; ++i) lscrlxyz_scroll(scroller);
  EXPECT_EQ(scroller->fine, 1);
  EXPECT_EQ(scroller->cursor->index, 1);
  EXPECT_EQ(scroller->x_wave.phase, (0 + 33 + 13 * 40) & 1023);
  EXPECT_EQ(scroller->y_wave.phase, (10 + 63 + 13 * 47) & 1023);
  EXPECT_EQ(scroller->scale_wave.phase, (1000 + 32 + 13 * 16) & 1023);
}

// Over many scrolls the text position (cell index times P plus fine) moves by exactly `speed`
// each time, modulo the text's length in pixels, whatever the sign and size of the speed.
TEST_F(LScrlXyzTest, PositionMovesBySpeedBothWays) {
  const int32_t total = 26 * 64;
  for (int32_t speed : {1, 5, 63, 64, 65, 200, 2000, -1, -5, -63, -64, -65, -200, -2000}) {
    scroller->cursor->index = 0;
    scroller->fine = 0;
    scroller->speed = speed;
    int64_t want = 0;
    for (int i = 0; i < 300; ++i) {
      lscrlxyz_scroll(scroller);
      want = ((want + speed) % total + total) % total;
      const int64_t pos = (int64_t(scroller->cursor->index) * 64 + scroller->fine) % total;
      ASSERT_EQ(pos, want) << "speed " << speed << " scroll " << i;
      ASSERT_GE(scroller->fine, 0) << speed;
      ASSERT_LE(scroller->fine, speed < 0 ? 64 : 63) << speed;
      ASSERT_GE(scroller->x_wave.phase, 0);
      ASSERT_LE(scroller->x_wave.phase, 1023);
    }
  }
}

struct Placement {
  char code;
  int32_t x, y, scale;
};

// Waves on the quarter-turn entries of the sine table (0, 32766, 0, -32766): the offsets are
// (32766 * a) >> 15 = a - 1 on the crest and -a in the trough.
struct DrawCase {
  const char* what;
  int32_t x, y, fine, first;  // strip position, fine offset, first visible character
  LScrlWave xw, yw, sw;
  std::vector<Placement> want;
};

const DrawCase kDraws[] = {
    {"no waves", 0, 128, 0, 0, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0},
     {{'A', 0, 128, 8}, {'B', 64, 128, 8}, {'C', 128, 128, 8}, {'D', 192, 128, 8}, {'E', 256, 128, 8},
      {'F', 320, 128, 8}}},
    {"fine offset and strip position", 5, 100, 10, 2, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0},
     {{'C', -5, 100, 8}, {'D', 59, 100, 8}, {'E', 123, 100, 8}, {'F', 187, 100, 8}, {'G', 251, 100, 8},
      {'H', 315, 100, 8}}},
    {"quarter-turn waves", 0, 128, 0, 0, {0, 0, 256, 64}, {256, 0, 256, 32}, {768, 0, 512, 8},
     {{'A', 0, 159, 0}, {'B', 127, 128, 15}, {'C', 128, 96, 0}, {'D', 128, 128, 15}, {'E', 256, 159, 0},
      {'F', 383, 128, 15}}},
    {"phases wrap, negative steps", 0, 0, 63, 24, {1024 + 512, 0, -256, 16}, {-256, 0, 768, 10}, {0, 0, 256, 3},
     {{'Y', -63, -10, 8}, {'Z', 16, 0, 10}, {'A', 65, 9, 8}, {'B', 113, 0, 5}, {'C', 193, -10, 8},
      {'D', 272, 0, 10}}},
};

TEST_F(LScrlXyzTest, DrawPlacesAndScalesEachCharacter) {
  for (const auto& c : kDraws) {
    unmark_glyphs();
    set_waves(c.xw, c.yw, c.sw);
    scroller->x = c.x;
    scroller->y = c.y;
    scroller->fine = c.fine;
    scroller->cursor->index = c.first;
    lscrlxyz_draw(scroller);
    for (const auto& p : c.want) {
      const Obj2d* g = glyph(uint8_t(p.code));
      EXPECT_EQ(g->position.x, p.x) << c.what << " " << p.code;
      EXPECT_EQ(g->position.y, p.y) << c.what << " " << p.code;
      EXPECT_EQ(g->scale.x, p.scale) << c.what << " " << p.code;
      EXPECT_EQ(g->scale.y, p.scale) << c.what << " " << p.code;
    }
    // Six cells for a 256-wide strip at P = 64: the seventh character is not drawn.
    const char seventh = text[size_t((c.first + 6) % 26)];
    EXPECT_EQ(glyph(uint8_t(seventh))->position.x, -99999) << c.what;
    // Cursor, font scale and target after the draw.
    EXPECT_EQ(scroller->cursor->index, c.first) << c.what;
    EXPECT_EQ(font->scale.x, 8);
    EXPECT_EQ(font->scale.y, 8);
    EXPECT_EQ(font->image, img);
    // The pen stays behind the last character, advanced by its wobbled scale.
    const Placement& last = c.want.back();
    EXPECT_EQ(font->cursor.x, last.x + 8 * last.scale) << c.what;
    EXPECT_EQ(font->cursor.y, last.y) << c.what;
  }
}

// The pitch follows the unwobbled scale: a 4 x 4 font (P = 32) shows width / 32 + 2 cells.
TEST_F(LScrlXyzTest, CellCountFollowsPitch) {
  font->scale = Vec2d{4, 4, 0};
  scroller->width = 100;
  lscrlxyz_draw(scroller);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(glyph(uint8_t('A' + i))->position.x, 32 * i) << i;
  EXPECT_EQ(glyph('F')->position.x, -99999);
  EXPECT_EQ(font->scale.x, 4);
}

// Visibility: a strip entirely off the image draws nothing and leaves the font alone; touching
// the edge still draws.
TEST_F(LScrlXyzTest, StripOutsideTheImageDrawsNothing) {
  struct Case {
    int32_t x, y, width, height;
    bool drawn;
  } cases[] = {
      {-257, 0, 256, 8, false}, {-256, 0, 256, 8, true}, {257, 0, 256, 8, false}, {256, 0, 256, 8, true},
      {0, 257, 256, 8, false},  {0, 256, 256, 8, true},  {0, -9, 256, 8, false},  {0, -8, 256, 8, true},
  };
  for (const auto& c : cases) {
    unmark_glyphs();
    scroller->x = c.x;
    scroller->y = c.y;
    scroller->width = c.width;
    scroller->height = c.height;
    font->cursor = Vec2d{7, 7, 0};
    lscrlxyz_draw(scroller);
    EXPECT_EQ(glyph('A')->position.x != -99999, c.drawn) << c.x << "," << c.y;
    if (!c.drawn) {
      EXPECT_EQ(font->cursor.x, 7);
    }
  }
}

// Bytes from 128 up become negative codes: the font refuses them and the pen does not move, so
// the next character lands on its own cell anyway (placement comes from the cell index).
TEST_F(LScrlXyzTest, HighBytesAreSkipped) {
  text = "A\xC1" "C";
  lscrlxyz_set_text(scroller, text.c_str(), font, img);
  scroller->width = 100;  // three cells
  lscrlxyz_draw(scroller);
  EXPECT_EQ(glyph('A')->position.x, 0);
  EXPECT_EQ(glyph('C')->position.x, 128);
  EXPECT_EQ(glyph(0xC1)->position.x, -99999);
}

TEST_F(LScrlXyzTest, MissingPartsReportAndDoNothing) {
  font->scale.x = 0;
  scroller->fine = 3;
  lscrlxyz_scroll(scroller);
  lscrlxyz_draw(scroller);
  EXPECT_EQ(scroller->fine, 3);
  EXPECT_EQ(glyph('A')->position.x, -99999);
  // A zero cell width gives a zero pitch: refused rather than divided by.
  font->scale.x = 8;
  font->advance.x = 0;
  lscrlxyz_scroll(scroller);
  lscrlxyz_draw(scroller);
  EXPECT_EQ(scroller->fine, 3);
  EXPECT_EQ(glyph('A')->position.x, -99999);
  lscrlxyz_scroll(nullptr);
  lscrlxyz_draw(nullptr);
  lscrlxyz_free(nullptr);
}

// An empty text cycles over nothing: the cursor stays at 0 and the terminating NUL is drawn as
// code 0.
TEST_F(LScrlXyzTest, EmptyTextIsHarmless) {
  text.clear();
  lscrlxyz_set_text(scroller, text.c_str(), font, img);
  scroller->speed = -300;
  for (int i = 0; i < 5; ++i) lscrlxyz_scroll(scroller);
  lscrlxyz_draw(scroller);
  EXPECT_EQ(scroller->cursor->index, 0);
  EXPECT_EQ(glyph(0)->position.x, 320 - scroller->fine);
}

}  // namespace
