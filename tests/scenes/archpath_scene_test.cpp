#include "scenes/archpath_scene.h"

#include <vector>

#include "audio/list.h"
#include "effects/archpath.h"
#include "scene_fixture.h"
#include "text/font.h"

namespace {

// The walkers live for the process, as in the show: the tests share them.
using ArchPathSceneTest = SceneTest;

ArchPath* walker(int32_t i) { return static_cast<ArchPath*>(list_get(archpath_scene.walkers, i)); }
int32_t walker_count_for_test() { return archpath_scene.walkers ? archpath_scene.walkers->count : 0; }

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


// A first visit replayed from the random stream: fade, mirror and walker count; per walker the
// draws of archpath_new, then the star tiles of sprite and glow and the ball tiles over
// them; then the motion, the renderer and the step rule. The test sheets fill tile t with
// base + t, so the ball tile fully covers the star in both images and tells which draw it took.
TEST_F(ArchPathSceneTest, FirstVisitTakesItsDrawsInOrder) {
  for (int32_t i = 0; i < walker_count_for_test(); ++i) {
    ArchPath* w = walker(i);
    archpath_free(&w);
  }
  list_free(&archpath_scene.walkers);
  Font stars{}, balls{};
  stars.sheet = make_test_sheet(0x100000);
  balls.sheet = make_test_sheet(0x400000);
  demo.star_font = &stars;
  demo.ball_font = &balls;

  // Draws of making one walker and of randomizing it again, as the arch-path module takes them.
  const int made = random_draws_of([] {
    ArchPath* w = archpath_new();
    archpath_free(&w);
  });
  ArchPath* probe = archpath_new();
  const int randomized = random_draws_of([&] { archpath_randomize(probe); });
  archpath_free(&probe);
  for (unsigned seed : {11u, 14u}) {   // lock-step, then free motion
    std::srand(seed);
    const int32_t r_fade = std::rand();
    const int32_t r_mirror = std::rand();
    const int32_t n = std::rand() % 127 + 257;
    std::vector<uint32_t> ball_sprite, ball_glow;
    for (int32_t i = 0; i < n; ++i) {
      for (int k = 0; k < made; ++k) std::rand();
      std::rand();
      std::rand();
      ball_sprite.push_back(0x400000u + uint32_t(2 + std::rand() % 11));
      ball_glow.push_back(0x100000u + uint32_t(2 + std::rand() % 11) / 4);
    }
    const bool lock_step = std::rand() & 1;
    for (int32_t k = 0; k < (lock_step ? randomized : randomized * n); ++k) std::rand();
    const int32_t r_render = std::rand();
    const int32_t r_step = std::rand();

    if (seed == 14u) {   // the second round is a fresh first visit as well
      for (int32_t i = 0; i < walker_count_for_test(); ++i) {
        ArchPath* w = walker(i);
        archpath_free(&w);
      }
      list_free(&archpath_scene.walkers);
    }
    std::srand(seed);
    archpath_scene_setup();
    EXPECT_EQ(demo.fade_colour, uint32_t(r_fade & 7) * 0x010101u + 0x040404u);
    EXPECT_EQ(demo.mirror_mode, r_mirror % 3);
    ASSERT_EQ(walker_count_for_test(), n);
    for (int32_t i = 0; i < n; ++i) {
      ASSERT_EQ(img_get_pixel(walker(i)->sprite, 7, 7), ball_sprite[size_t(i)]) << "walker " << i;
      ASSERT_EQ(img_get_pixel(walker(i)->glow, 7, 7), ball_glow[size_t(i)]) << "walker " << i;
    }
    EXPECT_EQ(archpath_scene.renderer, archpath_renderers[r_render % 4]);
    EXPECT_EQ(archpath_scene.step, archpath_steps[r_step % 4]);
    bool same = true;
    for (int32_t i = 1; i < n; ++i) {
      same &= walker(i)->angle == walker(0)->angle && walker(i)->step == walker(0)->step &&
              walker(i)->duration == walker(0)->duration && walker(i)->counter == walker(0)->counter;
    }
    EXPECT_EQ(same, lock_step) << "seed " << seed;
  }
  img_free(&stars.sheet);
  img_free(&balls.sheet);
  demo.star_font = demo.ball_font = nullptr;
}

}  // namespace
