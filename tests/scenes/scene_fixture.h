// A prepared DemoState for calling scene set-ups and drawing steps directly: a black 256 x 256
// screen, the hue-wheel palette, a music record for the period and fixed random seeds.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "audio/music.h"
#include "audio/sample.h"
#include "audio/soundtrack.h"
#include "driver/demo.h"
#include "image/img.h"

// The start-up's hue wheel: green, cyan, blue, magenta, red, yellow, back to green.
inline void fill_test_palette(Sample* p) {
  sample_set_length(p, 1536);
  for (int32_t i = 0; i < 256; ++i) {
    sample_set(p, i, 0x00FF00 + i);
    sample_set(p, 256 + i, 0x00FFFF - (i << 8));
    sample_set(p, 512 + i, (i << 16) + 0x0000FF);
    sample_set(p, 768 + i, 0xFF00FF - i);
    sample_set(p, 1024 + i, 0xFF0000 + (i << 8));
    sample_set(p, 1280 + i, 0xFFFF00 - (i << 16));
  }
}

class SceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = demo;
    saved_music_ = soundtrack.music;
    demo = DemoState{};
    demo.screen = img_new();
    img_resize(demo.screen, 256, 256);
    demo.palette = sample_new();
    fill_test_palette(demo.palette);
    demo.fade_colour = 0x010101;
    music_ = Music{};
    music_.period = 300;
    soundtrack.music = &music_;
    std::srand(1234);
  }
  void TearDown() override {
    img_free(&demo.screen);
    sample_free(&demo.palette);
    soundtrack.music = saved_music_;
    demo = saved_;
  }
  uint32_t pixel(int32_t col, int32_t row) const { return img_get_pixel(demo.screen, col, row); }
  // Number of screen pixels that are not black.
  int lit() const {
    int n = 0;
    for (int32_t i = 0; i < 256 * 256; ++i) n += demo.screen->pixels[i] != 0;
    return n;
  }

  Music music_{};
  DemoState saved_{};
  Music* saved_music_ = nullptr;
};

// A 16 x 256 sprite sheet whose tile t is filled with base + t (tile 0 included).
inline Image* make_test_sheet(uint32_t base) {
  Image* sheet = img_new();
  img_resize(sheet, 16, 256);
  for (int32_t t = 0; t < 16; ++t) img_fill_rect(sheet, 0, 16 * t, 16, 16, base + uint32_t(t));
  return sheet;
}
