#include "scenes/intro.h"

#include "image/rgb.h"
#include "scene_fixture.h"

namespace {

struct LogoRowCase {
  int32_t variant, frame, row;
};

// The bounce of each variant: every one starts with only the logo's bottom row on the screen.
TEST(IntroLogoRow, FollowsTheBounceOfItsVariant) {
  const LogoRowCase cases[] = {
      {0, 0, -63},  {1, 0, -63},  {2, 0, -63},   {3, 0, -63},  {0, 32, -11}, {0, 64, 77},
      {0, 96, 192}, {0, 128, 320}, {0, 256, 193}, {0, 299, 271}, {3, 32, -21}, {3, 64, 39},
      {3, 96, 112}, {3, 128, 192}, {3, 256, 193}, {3, 299, 253},
  };
  for (const LogoRowCase& c : cases) {
    EXPECT_EQ(intro_logo_row(c.variant, c.frame), c.row) << "variant " << c.variant << " frame " << c.frame;
  }
}

class IntroTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    demo.logo = img_new();
    img_resize(demo.logo, 256, 64);
    // Grey bars on black: column c of logo row r is lit when c is even.
    for (int32_t r = 0; r < 64; ++r)
      for (int32_t c = 0; c < 256; c += 2) img_set_pixel(demo.logo, c, r, 0x010101u * uint32_t(r + 1));
  }
  void TearDown() override {
    img_free(&demo.logo);
    SceneTest::TearDown();
  }
};

TEST_F(IntroTest, SetupPicksADimmedRandomHue) {
  for (unsigned seed : {3u, 99u, 4242u}) {
    srandom(seed);
    const uint32_t hue = uint32_t(sample_get(demo.palette, int32_t(random() % 1536)));
    const int32_t variant = int32_t(random() % 4);
    srandom(seed);
    intro_setup();
    EXPECT_EQ(demo.background, rgb_sub_grey(hue, 100));
    EXPECT_EQ(intro_scene.variant, variant);
    EXPECT_EQ(intro_scene.frame, 0);
    EXPECT_EQ(demo.fade_colour, 0x707070u);
    EXPECT_EQ(demo.mirror_mode, 0);
    EXPECT_EQ(music_.period, 160);
    EXPECT_FALSE(demo.fade_on);
  }
}

TEST_F(IntroTest, DrawBlitsTheLogoKeyedAtItsRow) {
  img_fill_rect(demo.screen, 0, 0, 256, 256, 0x123456);
  intro_scene.variant = 0;
  intro_scene.frame = 64;
  intro_draw();   // row 77
  EXPECT_EQ(pixel(10, 77), 0x010101u);
  EXPECT_EQ(pixel(10, 77 + 63), 0x404040u);
  EXPECT_EQ(pixel(11, 80), 0x123456u);   // black logo pixels are not copied
  EXPECT_EQ(pixel(10, 76), 0x123456u);
  EXPECT_EQ(pixel(10, 77 + 64), 0x123456u);
}

TEST_F(IntroTest, FirstFrameShowsOnlyTheBottomRow) {
  for (int32_t v = 0; v < 4; ++v) {
    img_fill_rect(demo.screen, 0, 0, 256, 256, 0);
    intro_scene.variant = v;
    intro_scene.frame = 0;
    intro_draw();
    EXPECT_EQ(pixel(0, 0), 0x404040u) << "variant " << v;
    EXPECT_EQ(pixel(0, 1), 0u) << "variant " << v;
  }
}

}  // namespace
