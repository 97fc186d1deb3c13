#include "scenes/rain_scene.h"

#include "effects/lrain.h"
#include "scene_fixture.h"

namespace {

class RainSceneTest : public SceneTest {
 protected:
  void TearDown() override {
    rain_scene_release();
    SceneTest::TearDown();
  }
};

// Replays the random stream of the set-up: settings, then per layer the drops of lrain_new and
// lrain_set_count, the velocity of the first layer and one hue each.
TEST_F(RainSceneTest, SetupTakesItsDrawsInOrder) {
  for (unsigned seed : {1u, 77u, 31337u}) {
    int32_t vx = 0, vy = 0;
    uint32_t colour[3];
    const int32_t drops[3] = {256, 128, 64};
    int made[3];   // draws of making a layer and giving it its drops, as the rain module takes them
    for (int i = 0; i < 3; ++i) {
      made[i] = random_draws_of([&] {
        LRain* layer = lrain_new();
        lrain_set_count(layer, drops[i]);
        lrain_free(&layer);
      });
    }
    std::srand(seed);
    const int32_t r_fade = std::rand();
    const int32_t r_mirror = std::rand();
    for (int i = 0; i < 3; ++i) {
      for (int k = 0; k < made[i]; ++k) std::rand();
      if (i == 0) {
        vx = std::rand() & 0x1FFFF;
        vy = vx + (std::rand() & 0x3FFFF);
      }
      colour[i] = uint32_t(sample_get(demo.palette, std::rand() % 1536));
    }

    std::srand(seed);
    rain_scene_setup();
    EXPECT_EQ(demo.fade_colour, uint32_t(r_fade & 31) * 0x010101u + 0x202020u);
    EXPECT_EQ(demo.mirror_mode, r_mirror % 3);
    EXPECT_TRUE(demo.fade_on);
    EXPECT_FALSE(demo.blur_on);
    EXPECT_FALSE(demo.glare_on);
    EXPECT_EQ(music_.period, 224);
    for (int i = 0; i < 3; ++i) {
      const LRain* layer = rain_scene.layer[i];
      ASSERT_NE(layer, nullptr);
      EXPECT_EQ(layer->count, drops[i]);
      EXPECT_EQ(layer->vx, 2 * vx << i) << "layer " << i;
      EXPECT_EQ(layer->vy, 2 * vy << i) << "layer " << i;
      EXPECT_EQ(layer->colour, colour[i]) << "layer " << i;
    }
  }
}

// All three layers fall in one direction, down and to the right within 45 degrees.
TEST_F(RainSceneTest, VelocitiesAreMultiplesOfTheFirstLayer) {
  for (unsigned seed = 0; seed < 20; ++seed) {
    std::srand(seed);
    rain_scene_setup();
    const LRain* l1 = rain_scene.layer[0];
    EXPECT_GE(l1->vx, 0);
    EXPECT_LT(l1->vx, 4 << 16);
    EXPECT_GE(l1->vy, l1->vx);
    EXPECT_LT(l1->vy - l1->vx, 8 << 16);
    EXPECT_EQ(rain_scene.layer[1]->vx, 2 * l1->vx);
    EXPECT_EQ(rain_scene.layer[1]->vy, 2 * l1->vy);
    EXPECT_EQ(rain_scene.layer[2]->vx, 4 * l1->vx);
    EXPECT_EQ(rain_scene.layer[2]->vy, 4 * l1->vy);
  }
}

// A visit replaces the previous visit's layers (the sanitizer build checks that they are freed).
TEST_F(RainSceneTest, EveryVisitMakesFreshLayersAndReleaseClearsThem) {
  rain_scene_setup();
  rain_scene_setup();
  for (LRain* layer : rain_scene.layer) EXPECT_NE(layer, nullptr);
  rain_scene_release();
  for (LRain* layer : rain_scene.layer) EXPECT_EQ(layer, nullptr);
  rain_scene_draw();   // nothing to draw between visits
  EXPECT_EQ(lit(), 0);
}

// One frame moves each drop by its layer's velocity and draws its streak back along twice it.
TEST_F(RainSceneTest, DrawMovesThenDrawsEveryLayer) {
  rain_scene_setup();
  for (int i = 0; i < 3; ++i) {
    LRain* layer = rain_scene.layer[i];
    lrain_set_count(layer, 1);
    layer->drops[0] = (40 + 60 * i) << 16;
    layer->drops[1] = 100 << 16;
    layer->vx = 0;
    layer->vy = 0x10000 << i;
    layer->colour = 0x112233u * uint32_t(i + 1);
  }
  rain_scene_draw();
  for (int i = 0; i < 3; ++i) {
    const int32_t col = 40 + 60 * i;
    const int32_t head = 100 + (1 << i);
    const int32_t tail = head - (2 << i);
    EXPECT_EQ(pixel(col, head), 0x112233u * uint32_t(i + 1)) << "layer " << i;
    EXPECT_EQ(pixel(col, tail), 0x112233u * uint32_t(i + 1)) << "layer " << i;
    EXPECT_EQ(pixel(col, head + 1), 0u) << "layer " << i;
    EXPECT_EQ(pixel(col, tail - 1), 0u) << "layer " << i;
  }
  // The single drop of every layer was then put somewhere new on the screen.
  for (const LRain* layer : rain_scene.layer) {
    EXPECT_EQ(layer->drops[0] & 0xFFFF, 0);
    EXPECT_GE(layer->drops[0], 0);
    EXPECT_LT(layer->drops[0], 256 << 16);
  }
}

}  // namespace
