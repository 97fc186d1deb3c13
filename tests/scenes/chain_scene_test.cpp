#include "scenes/chain_scene.h"

#include "audio/list.h"
#include "scene_fixture.h"
#include "vector/seg2d.h"

namespace {

// The chain lives for the process, as in the show: the tests share it.
class ChainSceneTest : public SceneTest {
 protected:
  static Seg2d* seg(int32_t i) { return static_cast<Seg2d*>(list_get(chain_scene.chain, i)); }
  // Every segment from (100, 100) to (100, 100): no pair moves.
  static void collapse() {
    for (int32_t n = 0; n < chain_segments; ++n) {
      seg(n)->a.x = seg(n)->a.y = seg(n)->b.x = seg(n)->b.y = 100;
      seg(n)->a.colour = 0x0000FF;
      seg(n)->b.colour = 0xFF0000;
    }
  }
};

TEST_F(ChainSceneTest, FirstVisitClosesTheChainAndLaterVisitsAppendSegmentZero) {
  chain_scene_setup();
  ASSERT_NE(chain_scene.chain, nullptr);
  const int32_t count = chain_scene.chain->count;
  EXPECT_GE(count, 129);
  EXPECT_EQ(list_get(chain_scene.chain, 128), list_get(chain_scene.chain, 0));
  Seg2d* first = seg(0);
  chain_scene_setup();
  EXPECT_EQ(chain_scene.chain->count, count + 1);
  EXPECT_EQ(seg(0), first);
  EXPECT_EQ(list_get(chain_scene.chain, count), first);
  EXPECT_GE(demo.mirror_mode, 1);
  EXPECT_LE(demo.mirror_mode, 2);
  EXPECT_TRUE(demo.fade_on);
  EXPECT_EQ(music_.period, 224);
}

TEST_F(ChainSceneTest, ScatterMakesShortSegmentsOnTheScreen) {
  chain_scene_setup();
  for (int32_t n = 0; n < chain_segments; ++n) {
    const Seg2d* s = seg(n);
    EXPECT_GE(s->a.x, 0);
    EXPECT_LT(s->a.x, 256);
    EXPECT_GE(s->a.y, 0);
    EXPECT_LT(s->a.y, 256);
    const int32_t dx = (s->b.x - s->a.x + 256) % 256;
    const int32_t dy = (s->b.y - s->a.y + 256) % 256;
    EXPECT_LT(dx, 15) << "segment " << n;
    EXPECT_LT(dy, 15) << "segment " << n;
  }
}

// After the first frame of a visit every segment ends where the next one begins.
TEST_F(ChainSceneTest, OneFrameLinksEverySegmentToTheNext) {
  chain_scene_setup();
  const int32_t moved = chain_scene_tighten();
  EXPECT_GT(moved, 120);
  for (int32_t n = 0; n < chain_segments; ++n) {
    const Seg2d* s = seg(n);
    const Seg2d* next = seg((n + 1) % chain_segments);
    EXPECT_EQ(s->b.x, next->a.x) << "segment " << n;
    EXPECT_EQ(s->b.y, next->a.y) << "segment " << n;
  }
}

// Pulls the end of `count` segments (even indices, so no pair touches another's points) one
// measure away: each of those pairs moves once, every other pair is equal and stays.
TEST_F(ChainSceneTest, RestartsWhenAtMost16PairsMove) {
  chain_scene_setup();
  for (int32_t count : {16, 17}) {
    collapse();
    for (int32_t i = 0; i < count; ++i) seg(2 * i)->b.x = 104;
    std::srand(1);
    chain_scene_draw();
    // An untouched segment keeps its place unless the chain was thrown anew.
    const bool thrown = seg(101)->a.x != 100 || seg(101)->a.y != 100 || seg(103)->a.x != 100 ||
                        seg(103)->a.y != 100;
    EXPECT_EQ(thrown, count <= 16) << count << " pairs moved";
  }
  collapse();
  for (int32_t i = 0; i < 16; ++i) seg(2 * i)->b.x = 104;
  EXPECT_EQ(chain_scene_tighten(), 16);
  EXPECT_EQ(seg(0)->a.x, 101);          // crept a quarter along its own segment
  EXPECT_EQ(seg(127)->b.x, 101);        // the previous segment's end follows
}

struct MirrorCase {
  int8_t mode;
  int lines;
};

// A segment of length 0 at (100, 50) plots one pixel per line: 1, 4 or 8 of them.
TEST_F(ChainSceneTest, MirrorModeDrawsOneFourOrEightLines) {
  chain_scene_setup();
  const MirrorCase cases[] = {{0, 1}, {1, 4}, {2, 8}};
  for (const MirrorCase& c : cases) {
    collapse();
    for (int32_t n = 0; n < chain_segments; ++n) {
      seg(n)->a.x = seg(n)->b.x = 100;
      seg(n)->a.y = seg(n)->b.y = 50;
    }
    img_fill_rect(demo.screen, 0, 0, 256, 256, 0);
    demo.mirror_mode = c.mode;
    chain_scene_draw();
    EXPECT_EQ(lit(), c.lines) << "mode " << int(c.mode);
    EXPECT_EQ(pixel(100, 50), 0x0000FFu);
    if (c.mode >= 1) {
      EXPECT_EQ(pixel(156, 50), 0x0000FFu);
      EXPECT_EQ(pixel(100, 206), 0x0000FFu);
      EXPECT_EQ(pixel(156, 206), 0x0000FFu);
    }
    if (c.mode >= 2) {
      EXPECT_EQ(pixel(50, 100), 0x0000FFu);
      EXPECT_EQ(pixel(50, 156), 0x0000FFu);
      EXPECT_EQ(pixel(206, 100), 0x0000FFu);
      EXPECT_EQ(pixel(206, 156), 0x0000FFu);
    }
  }
}

}  // namespace
