// The overlays: the frame clock, the rate display and the two captions. The fixture's font has
// one dot per glyph, at a place inside the 16 x 16 cell that names the glyph: code c draws the
// pixel (c & 15, 8 + (c >> 4 & 7)) of its cell (low enough that a
// letter shaken 8 rows up stays on the screen), in colour 0x100000 + c.
#include <gtest/gtest.h>

#include "audio/list.h"
#include "driver_fixture.h"
#include "image/rgb.h"
#include "platform/fps.h"
#include "vector/lfont.h"
#include "vector/obj2d.h"
#include "vector/seg2d.h"

namespace {

class OverlayTest : public DriverTest {
 protected:
  void SetUp() override {
    DriverTest::SetUp();
    library_ = list_new();
    for (int32_t c = 0; c < 256; ++c) {
      Obj2d* glyph = obj2d_new();
      Seg2d* dot = seg2d_new();
      dot->a.x = dot->b.x = c & 15;
      dot->a.y = dot->b.y = 8 + (c >> 4 & 7);
      obj2d_add_segment(glyph, dot);
      obj2d_set_colour(glyph, 0x100000u + uint32_t(c));
      list_push(library_, glyph);
    }
    font_ = lfont_new();
    font_->advance.x = 16;
    font_->advance.y = 16;
    font_->glyphs = library_;
    font_->image = demo.screen;
    font_->scale.x = 3;   // the overlays reset pose
    font_->angle = 100;
    demo.large_wire_font = font_;
    pacer_ = Fps{};
    pacer_.target_rate = 50;
    demo.pacer = &pacer_;
  }
  void TearDown() override {
    demo.large_wire_font = nullptr;
    demo.pacer = nullptr;
    lfont_free(&font_);
    obj2d_free_library(&library_);
    DriverTest::TearDown();
  }
  // Where glyph c lands for a cursor at (x, y).
  uint32_t dot(int32_t x, int32_t y, char c) const {
    return screen(x + (c & 15), y + 8 + (c >> 4 & 7));
  }
  int lit() const {
    int n = 0;
    for (int32_t i = 0; i < 256 * 256; ++i) n += demo.screen->pixels[i] != 0;
    return n;
  }

  List* library_ = nullptr;
  LFont* font_ = nullptr;
  Fps pacer_{};
};

TEST_F(OverlayTest, RateDisplayKeepsTheClockAndDrawsOnlyWhenOn) {
  pacer_.frames = 500;
  pacer_.shown_rate = 50;
  demo_draw_rate();
  EXPECT_EQ(demo.clock, 500);
  EXPECT_EQ(lit(), 0);

  demo.show_rate = true;
  pacer_.shown_rate = 25;   // 19 in hexadecimal
  demo_draw_rate();
  EXPECT_EQ(dot(0, 0, '1'), 0x100031u);
  EXPECT_EQ(dot(16, 0, '9'), 0x100039u);
  const char* frames = "000001F4";
  for (int i = 0; i < 8; ++i) EXPECT_EQ(dot(16 * i, 16, frames[i]), 0x100000u + uint32_t(frames[i])) << i;
  EXPECT_EQ(lit(), 10);
}

TEST_F(OverlayTest, SwayingCaptionSlidesAlongTheTopWithTheFontsColours) {
  for (int32_t t : {0, 10, 150}) {   // times at which the whole word is on the screen
    img_fill_rect(demo.screen, 0, 0, 256, 256, 0);
    demo.clock = t;
    demo_swaying_caption();
    const int32_t x = (sine_at(7 * t & 1023) >> 7) + 16;
    int i = 0;
    for (char letter : {'K', 'R', 'O', 'M'}) {
      EXPECT_EQ(dot(x + 16 * i, 0, letter), 0x100000u + uint32_t(letter)) << "t " << t << " " << letter;
      ++i;
    }
  }
  demo.clock = 0;
  img_fill_rect(demo.screen, 0, 0, 256, 256, 0);
  demo_swaying_caption();
  EXPECT_EQ(dot(16, 0, 'K'), 0x10004bu);   // S(0) = 0: the word starts at x = 16
  EXPECT_EQ(lit(), 4);
}

TEST_F(OverlayTest, WobblingCaptionShakesAndCyclesTheHues) {
  struct Letter {
    char c;
    int32_t offset, x_phase, x_base, y_phase;
  };
  const Letter letters[] = {{'K', 192, 500, 24, 800}, {'R', 128, 450, 40, 600}, {'O', 64, 400, 56, 400},
                            {'M', 0, 350, 72, 200}};
  for (int32_t t : {0, 1, 777, 1535, 1536}) {
    img_fill_rect(demo.screen, 0, 0, 256, 256, 0);
    demo.clock = t;
    demo_wobbling_caption();
    for (const Letter& l : letters) {
      const int32_t x = (sine_at((23 * t + l.x_phase) & 1023) >> 12) + l.x_base;
      const int32_t y = sine_at((17 * t + l.y_phase) & 1023) >> 12;
      EXPECT_EQ(dot(x, y, l.c), uint32_t(sample_get(demo.palette, (t + l.offset) % 1536))) << "t " << t << l.c;
    }
  }
  // Afterwards every glyph keeps the colour of the M: the rate digits show in it.
  const uint32_t m = uint32_t(sample_get(demo.palette, 1536 % 1536));
  img_fill_rect(demo.screen, 0, 0, 256, 256, 0);
  demo.show_rate = true;
  pacer_.shown_rate = 50;
  demo_draw_rate();
  EXPECT_EQ(dot(0, 0, '3'), m);
}

}  // namespace
