// The frame skeleton's own steps: clear or fade, the post-effect chain, the fade to black, the
// start-up's palette.
#include <gtest/gtest.h>

#include "driver_fixture.h"
#include "image/imgfx.h"

namespace {

TEST_F(DriverTest, ClearFillsWithTheBackgroundWhileTheFadeIsOff) {
  img_set_pixel(demo.screen, 10, 10, 0xffffff);
  demo.background = 0x0080ff;
  demo_clear();
  for (int32_t i = 0; i < 256 * 256; ++i) ASSERT_EQ(demo.screen->pixels[i], 0x0080ffu) << i;
}

TEST_F(DriverTest, FadeLowersEachChannelDownToBlack) {
  demo.fade_on = true;
  demo.fade_colour = 0x707070;
  demo.background = 0x0080ff;   // ignored while fading
  img_set_pixel(demo.screen, 3, 4, 0xffffff);
  img_set_pixel(demo.screen, 5, 6, 0x80ff20);
  const uint32_t white_steps[] = {0x8f8f8f, 0x1f1f1f, 0x000000};
  const uint32_t mixed_steps[] = {0x108f00, 0x001f00, 0x000000};
  for (int i = 0; i < 3; ++i) {
    demo_clear();
    EXPECT_EQ(screen(3, 4), white_steps[i]) << "frame " << i;
    EXPECT_EQ(screen(5, 6), mixed_steps[i]) << "frame " << i;
    EXPECT_EQ(screen(0, 0), 0u);
  }
}

TEST_F(DriverTest, SlowestFadeTakes255Frames) {
  demo.fade_on = true;
  demo.fade_colour = 0x010101;
  img_set_pixel(demo.screen, 0, 0, 0xffffff);
  for (int i = 0; i < 254; ++i) demo_clear();
  EXPECT_EQ(screen(0, 0), 0x010101u);
  demo_clear();
  EXPECT_EQ(screen(0, 0), 0u);
}

TEST_F(DriverTest, FadeToBlackLeavesEveryPixelBlack) {
  for (int32_t i = 0; i < 256 * 256; ++i) demo.screen->pixels[i] = uint32_t(i * 2654435761u) & 0xffffff;
  demo.screen->pixels[77] = 0xffffff;
  demo_fade_to_black();
  for (int32_t i = 0; i < 256 * 256; ++i) ASSERT_EQ(demo.screen->pixels[i], 0u) << i;
}

// A picture with structure in every direction, so mirror, glare and blur all change it.
void draw_pattern(Image* image) {
  for (int32_t r = 0; r < 256; ++r) {
    for (int32_t c = 0; c < 256; ++c) img_set_pixel(image, c, r, ((c * 7) & 0xff) << 16 | ((r * 5) & 0xff) << 8 | ((c ^ r) & 0xff));
  }
}

TEST_F(DriverTest, MirrorChangesTheScreenItselfGlareAndBlurDoNot) {
  struct Case {
    int mirror;
    bool glare, blur;
  };
  for (const Case c : {Case{0, true, false}, Case{0, false, true}, Case{0, true, true}, Case{1, false, false},
                       Case{2, false, false}, Case{1, true, true}}) {
    draw_pattern(demo.screen);
    Image* want_screen = make(256, 256);
    img_copy(demo.screen, want_screen);
    if (c.mirror == 1) imgfx_mirror4(want_screen);
    if (c.mirror == 2) imgfx_mirror8(want_screen);
    Image* glared = make(256, 256);
    imgfx_glare(want_screen, glared, 3);
    Image* blurred = make(256, 256);
    imgfx_blur_h(c.glare ? glared : want_screen, blurred, 2, 2, 2);

    demo.mirror_mode = int8_t(c.mirror);
    demo.glare_on = c.glare;
    demo.blur_on = c.blur;
    demo_present();
    const auto same = [](const Image* a, const Image* b) {
      for (int32_t i = 0; i < 256 * 256; ++i) {
        if (a->pixels[i] != b->pixels[i]) return false;
      }
      return true;
    };
    SCOPED_TRACE(testing::Message() << "mirror " << c.mirror << " glare " << c.glare << " blur " << c.blur);
    EXPECT_TRUE(same(demo.screen, want_screen));
    if (c.glare) {
      EXPECT_TRUE(same(demo.glare_image, glared));
    }
    if (c.blur) {
      EXPECT_TRUE(same(demo.blur_image, blurred));
    }
    img_free(&want_screen);
    img_free(&glared);
    img_free(&blurred);
  }
}

TEST(DemoPalette, HueWheelLandmarks) {
  Sample* p = sample_new();
  demo_fill_palette(p);
  ASSERT_EQ(p->length, 1536);
  const struct {
    int32_t index;
    uint32_t colour;
  } cases[] = {{0, 0x00ff00},    {255, 0x00ffff},  {256, 0x00ffff},  {511, 0x0000ff},
               {512, 0x0000ff},  {767, 0xff00ff},  {768, 0xff00ff},  {1023, 0xff0000},
               {1024, 0xff0000}, {1279, 0xffff00}, {1280, 0xffff00}, {1535, 0x00ff00}};
  for (const auto& c : cases) EXPECT_EQ(uint32_t(sample_get(p, c.index)), c.colour) << c.index;
  EXPECT_EQ(sample_get(p, 1536), 0);
  sample_free(&p);
}

}  // namespace
