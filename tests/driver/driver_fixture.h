// A prepared DemoState for the driver's own steps: a 256 x 256 screen and the two images of the
// post-effect chain, no window (presents go nowhere), the start-up's palette.
#pragma once
#include <gtest/gtest.h>

#include "audio/sample.h"
#include "driver/demo.h"
#include "image/img.h"

class DriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = demo;
    demo = DemoState{};
    demo.screen = make(256, 256);
    demo.glare_image = make(256, 256);
    demo.blur_image = make(256, 256);
    demo.palette = sample_new();
    demo_fill_palette(demo.palette);
  }
  void TearDown() override {
    img_free(&demo.screen);
    img_free(&demo.glare_image);
    img_free(&demo.blur_image);
    sample_free(&demo.palette);
    demo = saved_;
  }
  static Image* make(int32_t w, int32_t h) {
    Image* image = img_new();
    img_resize(image, w, h);
    return image;
  }
  uint32_t screen(int32_t col, int32_t row) const { return img_get_pixel(demo.screen, col, row); }

  DemoState saved_{};
};
