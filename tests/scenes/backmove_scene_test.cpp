#include "scenes/backmove_scene.h"

#include "audio/list.h"
#include "effects/backmove.h"
#include "scene_fixture.h"
#include "text/font.h"

namespace {

constexpr uint32_t kStarBase = 0x100000;
constexpr uint32_t kBallBase = 0x200000;

class BackMoveSceneTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    demo.star_font = font_new();
    demo.star_font->sheet = make_test_sheet(kStarBase);
    demo.ball_font = font_new();
    demo.ball_font->sheet = make_test_sheet(kBallBase);
  }
  void TearDown() override {
    backmove_scene_release();
    img_free(&demo.star_font->sheet);
    img_free(&demo.ball_font->sheet);
    font_free(&demo.star_font);
    font_free(&demo.ball_font);
    SceneTest::TearDown();
  }
  static BackMove* layer(int32_t i) { return static_cast<BackMove*>(list_get(backmove_scene.layers, i)); }
};

TEST_F(BackMoveSceneTest, SetupMakes16To31LayersOfOneTileEach) {
  for (unsigned seed = 0; seed < 12; ++seed) {
    std::srand(seed);
    demo.fade_on = true;
    backmove_scene_setup();
    ASSERT_NE(backmove_scene.layers, nullptr);
    const int32_t n = backmove_scene.layers->count;
    EXPECT_GE(n, 16);
    EXPECT_LE(n, 31);
    EXPECT_FALSE(demo.fade_on || demo.blur_on || demo.glare_on);
    EXPECT_EQ(demo.background, 0xFFFFFFu);
    EXPECT_EQ(music_.period, 224);
    for (int32_t i = 0; i < n; ++i) {
      const BackMove* l = layer(i);
      ASSERT_NE(l, nullptr);
      EXPECT_EQ(l->target, demo.screen);
      EXPECT_GE(l->cell_width, 32);
      EXPECT_LE(l->cell_width, 63);
      EXPECT_GE(l->cell_height, 32);
      EXPECT_LE(l->cell_height, 63);
      EXPECT_GE(l->offset_x, 0);
      EXPECT_LT(l->offset_x, l->cell_width);
      EXPECT_GE(l->offset_y, 0);
      EXPECT_LT(l->offset_y, l->cell_height);
      ASSERT_NE(l->tile, nullptr);
      ASSERT_EQ(l->tile->width, 16);
      ASSERT_EQ(l->tile->height, 16);
      // A whole tile 1..11 of one of the sheets.
      const uint32_t p = img_get_pixel(l->tile, 0, 0);
      const uint32_t t = p & 0xFF;
      EXPECT_TRUE((p & ~0xFFu) == kStarBase || (p & ~0xFFu) == kBallBase) << std::hex << p;
      EXPECT_GE(t, 1u);
      EXPECT_LE(t, 11u);
      EXPECT_EQ(img_get_pixel(l->tile, 15, 15), p);
    }
  }
}

// The first move, before the first drawing, brings the offsets into (-cell, 0]; the scene keeps
// the screen white and unfaded whatever a key changed.
TEST_F(BackMoveSceneTest, DrawKeepsWhiteAndMovesEveryLayer) {
  backmove_scene_setup();
  demo.fade_on = true;
  demo.background = 0;
  backmove_scene_draw();
  EXPECT_FALSE(demo.fade_on);
  EXPECT_EQ(demo.background, 0xFFFFFFu);
  for (int32_t i = 0; i < backmove_scene.layers->count; ++i) {
    const BackMove* l = layer(i);
    EXPECT_GT(l->offset_x, -l->cell_width);
    EXPECT_LE(l->offset_x, 0);
    EXPECT_GT(l->offset_y, -l->cell_height);
    EXPECT_LE(l->offset_y, 0);
  }
  // Every cell of the last layer starts with its tile at the layer's offsets.
  const BackMove* last = layer(backmove_scene.layers->count - 1);
  const int32_t col = last->offset_x + last->cell_width;
  const int32_t row = last->offset_y + last->cell_height;
  EXPECT_EQ(pixel(col, row), img_get_pixel(last->tile, 0, 0));
}

TEST_F(BackMoveSceneTest, ReleaseFreesTheLayersAndTheList) {
  backmove_scene_setup();
  backmove_scene_release();
  EXPECT_EQ(backmove_scene.layers, nullptr);
  backmove_scene_draw();   // nothing left to draw
  EXPECT_EQ(lit(), 0);
  backmove_scene_setup();
  backmove_scene_setup();   // a visit never keeps the previous one's layers (sanitizer build)
  EXPECT_GE(backmove_scene.layers->count, 16);
}

}  // namespace
