#include "scenes/vector_scene.h"

#include <vector>

#include "scene_fixture.h"
#include "text/font.h"
#include "text/raster.h"
#include "vector/lfont.h"
#include "vector/lscrlxyz.h"

namespace {

constexpr uint32_t kStarBase = 0x300000;

class VectorSceneTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    demo.star_font = font_new();
    demo.star_font->glyph_width = demo.star_font->glyph_height = 16;
    demo.star_font->sheet = make_test_sheet(kStarBase);
    demo.star_font->target = demo.screen;
    demo.small_wire_font = lfont_new();
    demo.small_wire_font->advance = Vec2d{8, 8, 0};
    demo.small_wire_font->image = demo.screen;
  }
  void TearDown() override {
    vector_scene_release();
    if (demo.scroller) lscrlxyz_free(&demo.scroller);
    img_free(&demo.star_font->sheet);
    font_free(&demo.star_font);
    lfont_free(&demo.small_wire_font);
    SceneTest::TearDown();
  }
};

TEST_F(VectorSceneTest, RampHoldsSixTriangles) {
  vector_scene_setup();
  const uint32_t* ramp = vector_scene.ramp;
  const uint32_t peaks[6] = {0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF};
  for (int k = 0; k < 6; ++k) {
    EXPECT_EQ(ramp[512 * k], 0u) << "triangle " << k;
    EXPECT_EQ(ramp[512 * k + 255], peaks[k]) << "triangle " << k;
    EXPECT_EQ(ramp[512 * k + 256], peaks[k]) << "triangle " << k;
    EXPECT_EQ(ramp[512 * k + 511], 0u) << "triangle " << k;
  }
  EXPECT_EQ(ramp[100], 100u << 16);
  EXPECT_EQ(ramp[1535 - 7], 7u << 8);            // green falls back
  EXPECT_EQ(ramp[2047 - 7], (7u << 8) | 7u);     // cyan falls back
}

TEST_F(VectorSceneTest, SetupMakesTheScrollerOnceAndFreshRasters) {
  vector_scene_setup();
  EXPECT_EQ(demo.fade_colour, 0x707070u);
  EXPECT_EQ(demo.mirror_mode, 0);
  EXPECT_EQ(music_.period, 160);
  EXPECT_EQ(demo.small_wire_font->scale.x, 8);
  EXPECT_EQ(demo.small_wire_font->scale.y, 8);
  ASSERT_NE(demo.scroller, nullptr);
  EXPECT_EQ(demo.scroller->speed, 5);
  EXPECT_EQ(demo.scroller->y, 128);
  ASSERT_NE(vector_scene.raster[0], nullptr);
  ASSERT_NE(vector_scene.raster[1], nullptr);
  EXPECT_EQ(vector_scene.raster[0]->count, 256);
  EXPECT_EQ(vector_scene.raster[1]->count, 256);

  // A later visit keeps the scroller with its speed and place; only y is set again.
  LScrlXyz* scroller = demo.scroller;
  scroller->speed = 10;
  scroller->y = 3;
  vector_scene_release();
  EXPECT_EQ(demo.small_wire_font->scale.x, 1);
  EXPECT_EQ(demo.small_wire_font->scale.y, 1);
  EXPECT_EQ(vector_scene.raster[0], nullptr);
  vector_scene_setup();
  EXPECT_EQ(demo.scroller, scroller);
  EXPECT_EQ(demo.scroller->speed, 10);
  EXPECT_EQ(demo.scroller->y, 128);
}

// Pass 1 at t = 0 puts star 0 at (120, 247): only its top rows are on the screen.
TEST_F(VectorSceneTest, StarZeroStartsAtTheBottomOfTheCircle) {
  vector_scene_draw_stars(0);
  EXPECT_EQ(pixel(120, 247), kStarBase);
  EXPECT_EQ(pixel(135, 255), kStarBase);
  EXPECT_EQ(pixel(119, 250), 0u);
  EXPECT_EQ(pixel(136, 250), 0u);
  EXPECT_EQ(pixel(128, 246), 0u);
  // Passes 2 and 3 at t = 0: every star of pass 2 at the centre (120, 120), the last one (11) on
  // top; pass 3 puts star 0 at (120, 183).
  EXPECT_EQ(pixel(121, 121), kStarBase + 11);
  EXPECT_EQ(pixel(120, 183), kStarBase);
}

// The bands repaint every row, so the picture does not depend on what the screen held.
TEST_F(VectorSceneTest, BandsCoverTheWholeScreen) {
  vector_scene_setup();
  for (int32_t t : {0, 77, 1000}) {
    img_fill_rect(demo.screen, 0, 0, 256, 256, 0);
    vector_scene_paint_bands(t);
    std::vector<uint32_t> first(demo.screen->pixels, demo.screen->pixels + 256 * 256);
    img_fill_rect(demo.screen, 0, 0, 256, 256, 0xFFFFFF);
    vector_scene_paint_bands(t);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), demo.screen->pixels)) << "t " << t;
    for (int32_t x = 1; x < 256; ++x) ASSERT_EQ(pixel(x, 40), pixel(0, 40));
  }
  // At t = 0 row 0 takes ramp[0] from both rasters: black.
  vector_scene_paint_bands(0);
  EXPECT_EQ(pixel(0, 0), 0u);
}

// The 32 copies shift the strip and put it back; the text then moves on by `speed`.
TEST_F(VectorSceneTest, RibbonRestoresTheStripAndScrollsOnce) {
  vector_scene_setup();
  LScrlXyz* scroller = demo.scroller;
  ASSERT_NE(scroller, nullptr);
  scroller->x = 7;
  const int32_t fine = scroller->fine;
  vector_scene_draw_ribbon(123);
  EXPECT_EQ(scroller->x, 7);
  EXPECT_EQ(scroller->y, 128);
  EXPECT_EQ(scroller->fine, (fine + 5) % 64);
}

}  // namespace
