#include "scenes/radial_scene.h"

#include "effects/lradial.h"
#include "image/rgb.h"
#include "scene_fixture.h"

namespace {

class RadialSceneTest : public SceneTest {
 protected:
  void TearDown() override {
    radial_scene_release();
    SceneTest::TearDown();
  }
};

TEST_F(RadialSceneTest, SetupMakesFiveWheelsAndItsSettings) {
  std::srand(8);
  const int32_t r_fade = std::rand();
  std::srand(8);
  demo.mirror_mode = 2;
  radial_scene_setup();
  EXPECT_EQ(demo.fade_colour, uint32_t(r_fade & 31) * 0x010101u + 0x101010u);
  EXPECT_TRUE(demo.fade_on);
  EXPECT_FALSE(demo.blur_on || demo.glare_on);
  EXPECT_EQ(demo.mirror_mode, 0);
  EXPECT_EQ(music_.period, 224);
  for (const LRadial* wheel : radial_scene.wheel) ASSERT_NE(wheel, nullptr);
  radial_scene_setup();   // the previous visit's wheels are released (the sanitizer build checks)
  for (const LRadial* wheel : radial_scene.wheel) ASSERT_NE(wheel, nullptr);
}

TEST_F(RadialSceneTest, ClockZeroGivesRadius64And64Spokes) {
  radial_scene_setup();
  int32_t angle[5];
  for (int i = 0; i < 5; ++i) angle[i] = radial_scene.wheel[i]->angle;
  demo.clock = 0;
  radial_scene_draw();
  for (int i = 0; i < 5; ++i) {
    const LRadial* wheel = radial_scene.wheel[i];
    EXPECT_EQ(wheel->radius, 64) << "wheel " << i;
    EXPECT_EQ(wheel->count, 64) << "wheel " << i;
    EXPECT_EQ(wheel->angle, (angle[i] + wheel->spin) & 0x3FFFFFF) << "wheel " << i;
  }
  EXPECT_GT(lit(), 0);
}

// The radius index is a remainder by 1023: at clock 341 wheel 0 reads entry 3 * 341 mod 1023 = 0.
TEST_F(RadialSceneTest, RadiusFollowsTheFrequencyModulo1023) {
  radial_scene_setup();
  for (int32_t clock : {1, 100, 341, 5000, 123456}) {
    demo.clock = clock;
    radial_scene_draw();
    for (int i = 0; i < 5; ++i) {
      const int32_t index = int32_t((int64_t(radial_frequency[i]) * clock) % 1023);
      EXPECT_EQ(radial_scene.wheel[i]->radius, (sine_table[index] >> 9) + 64)
          << "wheel " << i << " clock " << clock;
    }
    EXPECT_EQ(radial_scene.wheel[2]->radius, radial_scene.wheel[4]->radius);
  }
  demo.clock = 341;
  radial_scene_draw();
  EXPECT_EQ(radial_scene.wheel[0]->radius, 64);
}

}  // namespace
