#include "scenes/bicolour_scene.h"

#include "scene_fixture.h"

namespace {

using BicolourSceneTest = SceneTest;

TEST_F(BicolourSceneTest, SetupTakesItsDrawsInOrder) {
  for (unsigned seed : {5u, 600u, 70000u}) {
    std::srand(seed);
    const int32_t r_fade = std::rand();
    const int32_t r_mirror = std::rand();
    int32_t phase[4], fspeed[4], lspeed[4];
    for (int i = 0; i < 4; ++i) {
      phase[i] = std::rand() & 1023;
      fspeed[i] = (std::rand() & 7) + 1;
      lspeed[i] = (std::rand() & 7) + 1;
    }
    const int32_t count = (std::rand() & 255) + 64;
    std::srand(seed);
    bicolour_scene_setup();
    EXPECT_EQ(demo.fade_colour, uint32_t(r_fade & 31) * 0x010101u + 0x101010u);
    EXPECT_EQ(demo.mirror_mode, r_mirror % 3);
    EXPECT_TRUE(demo.fade_on);
    EXPECT_FALSE(demo.blur_on || demo.glare_on);
    EXPECT_EQ(music_.period, 224);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(bicolour_scene.line_phase[i], phase[i]);
      EXPECT_EQ(bicolour_scene.frame_speed[i], fspeed[i]);
      EXPECT_EQ(bicolour_scene.line_speed[i], lspeed[i]);
    }
    EXPECT_EQ(bicolour_scene.line_count, count);
  }
}

// Line 0 at T = 0 runs from pure green to pure blue; the phases then move on by their speeds.
TEST_F(BicolourSceneTest, LineZeroAtClockZeroRunsGreenToBlue) {
  bicolour_scene = BicolourScene{{0, 0, 256, 0}, {1, 2, 3, 8}, {1, 1, 1, 1}, 0};
  demo.clock = 0;
  bicolour_scene_draw();
  EXPECT_EQ(pixel(128, 128), 0x00FF00u);   // start (128, 128) in palette[0]
  EXPECT_EQ(pixel(255, 128), 0x0000FFu);   // end (255, 128) in palette[512]
  EXPECT_EQ(pixel(127, 128), 0u);
  EXPECT_EQ(bicolour_scene.line_phase[0], 1);
  EXPECT_EQ(bicolour_scene.line_phase[1], 2);
  EXPECT_EQ(bicolour_scene.line_phase[2], 259);
  EXPECT_EQ(bicolour_scene.line_phase[3], 8);
}

// The clock rolls the colours; a phase of 768 puts a coordinate at 0.
TEST_F(BicolourSceneTest, ClockShiftsTheHuesAndPhasesReachTheEdges) {
  bicolour_scene = BicolourScene{{768, 256, 768, 256}, {1, 1, 1, 1}, {1, 1, 1, 1}, 0};
  demo.clock = 1536 + 10;
  bicolour_scene_draw();
  EXPECT_EQ(pixel(0, 255), uint32_t(sample_get(demo.palette, 10)));
}

// With no angle step between lines all of them are one pixel at the centre: line 0, drawn last
// in palette[0], lies on top of the 64 others.
TEST_F(BicolourSceneTest, LineZeroLiesOnTop) {
  bicolour_scene = BicolourScene{{0, 0, 0, 0}, {1, 1, 1, 1}, {0, 0, 0, 0}, 64};
  demo.clock = 0;
  bicolour_scene_draw();
  EXPECT_EQ(pixel(128, 128), 0x00FF00u);
  EXPECT_EQ(lit(), 1);
}

}  // namespace
