#include "scenes/sinescan_scene.h"

#include "audio/list.h"
#include "effects/sinescan.h"
#include "scene_fixture.h"

namespace {

class SineScanSceneTest : public SceneTest {
 protected:
  void TearDown() override {
    sinescan_scene_release();
    SceneTest::TearDown();
  }
  static SineScan* row(int32_t i) { return static_cast<SineScan*>(list_get(sinescan_scene.scans, i)); }
};

TEST_F(SineScanSceneTest, SetupBuildsOneScanPerRowWithItsTint) {
  demo.fade_on = true;
  sinescan_scene_setup();
  ASSERT_NE(sinescan_scene.scans, nullptr);
  ASSERT_EQ(sinescan_scene.scans->count, 256);
  EXPECT_FALSE(demo.fade_on || demo.blur_on || demo.glare_on);
  EXPECT_EQ(demo.mirror_mode, 0);
  EXPECT_EQ(music_.period, 300);   // left as it was
  for (int32_t y = 0; y < 256; ++y) {
    ASSERT_NE(row(y), nullptr);
    EXPECT_EQ(row(y)->y, y);
    EXPECT_EQ(row(y)->tint, uint32_t(sample_get(demo.palette, (518 + 6 * y) % 1536))) << "row " << y;
    EXPECT_EQ(row(y)->colour_ramp == nullptr, y < 128) << "row " << y;
  }
  EXPECT_EQ(row(0)->tint, uint32_t(sample_get(demo.palette, 518)));
  EXPECT_EQ(row(127)->tint, 0xFFFF00u);   // entry 1280
}

struct ShapeCase {
  int32_t row, step0, step1, step2;
};

TEST_F(SineScanSceneTest, LowerHalfStepsFallTowardsTheBottom) {
  sinescan_scene_setup();
  const ShapeCase cases[] = {{255, 0, 0, 0}, {128, 64, 32, 16}, {200, 28, 14, 7}};
  for (const ShapeCase& c : cases) {
    const SineScan* s = row(c.row);
    EXPECT_EQ(s->waves[0].step, c.step0 << 16) << "row " << c.row;
    EXPECT_EQ(s->waves[1].step, c.step1 << 16) << "row " << c.row;
    EXPECT_EQ(s->waves[2].step, c.step2 << 16) << "row " << c.row;
    EXPECT_EQ(s->waves[0].speed, 0x100000);
    EXPECT_EQ(s->waves[1].speed, 0x180000);
    EXPECT_EQ(s->waves[2].speed, 0x200000);
  }
}

TEST_F(SineScanSceneTest, DrawFillsTheScreenAndRow255IsOneColour) {
  sinescan_scene_setup();
  img_fill_rect(demo.screen, 0, 0, 256, 256, 0x123456);
  sinescan_scene_draw();
  for (int32_t x = 1; x < 256; ++x) ASSERT_EQ(pixel(x, 255), pixel(0, 255)) << "column " << x;
  // Every row was drawn: the tinted upper half can never produce the fill colour by chance in
  // every column, so some pixel of each row differs from it.
  for (int32_t y = 0; y < 256; ++y) {
    bool changed = false;
    for (int32_t x = 0; x < 256 && !changed; ++x) changed = pixel(x, y) != 0x123456u;
    EXPECT_TRUE(changed) << "row " << y;
  }
}

// Nothing survives a visit: the next one builds 256 new scans.
TEST_F(SineScanSceneTest, ReleaseFreesEverythingAndTheNextVisitStartsAfresh) {
  sinescan_scene_setup();
  demo.blur_on = demo.glare_on = true;
  sinescan_scene_release();
  EXPECT_EQ(sinescan_scene.scans, nullptr);
  EXPECT_FALSE(demo.blur_on || demo.glare_on);
  sinescan_scene_setup();
  ASSERT_NE(sinescan_scene.scans, nullptr);
  EXPECT_EQ(sinescan_scene.scans->count, 256);
}

}  // namespace
