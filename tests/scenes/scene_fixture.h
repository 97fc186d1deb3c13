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

// How many numbers `work` takes from the C library's random stream: the stream is replayed from
// the same seed until the two numbers that followed the work come up.
template <typename Work>
int random_draws_of(Work work) {
  constexpr unsigned kSeed = 4242;
  std::srand(kSeed);
  work();
  const int next = std::rand(), after = std::rand();
  std::srand(kSeed);
  int previous = std::rand();
  for (int k = 0; k < 10000000; ++k) {
    const int current = std::rand();
    if (previous == next && current == after) return k;
    previous = current;
  }
  return -1;
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
    demo_fill_palette(demo.palette);
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
