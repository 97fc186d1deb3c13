#include "scenes/archpath_scene.h"

#include "audio/list.h"
#include "effects/archpath.h"
#include "scene_fixture.h"

namespace {

// The walkers live for the process, as in the show: the tests share them.
using ArchPathSceneTest = SceneTest;

ArchPath* walker(int32_t i) { return static_cast<ArchPath*>(list_get(archpath_scene.walkers, i)); }

// A step rule that only counts its calls in the unused z field.
void count_step(ArchPath* w) { ++w->z; }

TEST_F(ArchPathSceneTest, FirstVisitMakesTheWalkersLaterVisitsReuseThem) {
  archpath_scene_setup();
  ASSERT_NE(archpath_scene.walkers, nullptr);
  List* walkers = archpath_scene.walkers;
  const int32_t n = walkers->count;
  EXPECT_GE(n, 257);
  EXPECT_LE(n, 383);
  EXPECT_TRUE(demo.fade_on);
  EXPECT_FALSE(demo.blur_on || demo.glare_on);
  EXPECT_GE(demo.fade_colour, 0x040404u);
  EXPECT_LE(demo.fade_colour, 0x0B0B0Bu);
  EXPECT_EQ(demo.fade_colour % 0x010101u, 0u);
  for (unsigned seed = 0; seed < 8; ++seed) {
    std::srand(seed);
    archpath_scene_setup();
    EXPECT_EQ(archpath_scene.walkers, walkers);
    EXPECT_EQ(archpath_scene.walkers->count, n);
    bool renderer_known = false, step_known = false;
    for (int i = 0; i < 4; ++i) {
      renderer_known |= archpath_scene.renderer == archpath_renderers[i];
      step_known |= archpath_scene.step == archpath_steps[i];
    }
    EXPECT_TRUE(renderer_known && step_known);
  }
}

struct RenderCase {
  ArchPathRender render;
  bool fade_on;
  bool quarter;   // only walkers 0 .. n/4 - 1 treated
  int steps;      // step calls per treated walker
};

TEST_F(ArchPathSceneTest, RenderersTreatAQuarterOfTheWalkersWhileFading) {
  archpath_scene_setup();
  const int32_t n = archpath_scene.walkers->count;
  const RenderCase cases[] = {
      {archpath_render_dots, true, true, 16},     {archpath_render_dots, false, false, 16},
      {archpath_render_streaks, true, true, 16},  {archpath_render_streaks, false, true, 16},
      {archpath_render_sprites, true, true, 16},  {archpath_render_sprites, false, false, 16},
      {archpath_render_glows, true, true, 8},     {archpath_render_glows, false, false, 8},
  };
  for (size_t c = 0; c < sizeof cases / sizeof cases[0]; ++c) {
    for (int32_t i = 0; i < n; ++i) walker(i)->z = 0;
    archpath_scene.step = count_step;
    demo.fade_on = cases[c].fade_on;
    cases[c].render();
    const int32_t m = cases[c].quarter ? n / 4 : n;
    for (int32_t i = 0; i < n; ++i) {
      ASSERT_EQ(walker(i)->z, i < m ? cases[c].steps : 0) << "case " << c << " walker " << i;
    }
  }
  for (int32_t i = 0; i < n; ++i) walker(i)->z = 0;
}

TEST_F(ArchPathSceneTest, GlowsClearToBlack) {
  archpath_scene_setup();
  archpath_scene.step = count_step;
  demo.background = 0xFFFFFF;
  archpath_render_glows();
  EXPECT_EQ(demo.background, 0u);
  for (int32_t i = 0; i < archpath_scene.walkers->count; ++i) walker(i)->z = 0;
}

// A streak of radius 3 straight down from the centre (100, 100): dots at radii 3, 3 and 2 in
// colours K, K + 0x010101, K + 0x020202; radius 1 is not drawn; the walker is restored.
TEST_F(ArchPathSceneTest, StreakBrightensTowardsTheCentre) {
  archpath_scene_setup();
  List* kept = archpath_scene.walkers;
  archpath_scene.walkers = list_new();
  for (int i = 0; i < 4; ++i) list_push(archpath_scene.walkers, archpath_new());
  ArchPath* w = walker(0);
  w->x = 100;
  w->y = 100;
  w->angle = 0;
  w->radius = 3;
  w->colour = 0x8080FF;   // blue carries into green at the second step
  archpath_scene.step = [](ArchPath*) {};
  archpath_render_streaks();
  EXPECT_EQ(pixel(100, 102), 0x818200u);
  EXPECT_EQ(pixel(100, 101), 0x828301u);
  EXPECT_EQ(pixel(100, 100), 0u);
  EXPECT_EQ(w->radius, 3);
  EXPECT_EQ(w->colour, 0x8080FFu);
  for (int i = 0; i < 4; ++i) {
    ArchPath* a = walker(i);
    archpath_free(&a);
  }
  list_free(&archpath_scene.walkers);
  archpath_scene.walkers = kept;
}

}  // namespace
