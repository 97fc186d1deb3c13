// The key table: what each character does to the viewer's switches.
#include <gtest/gtest.h>

#include <string>

#include "driver_fixture.h"
#include "platform/fps.h"
#include "platform/xkbd.h"
#include "vector/lscrlxyz.h"

namespace {

struct Switches {
  bool next_scene, fade_on, blur_on, glare_on, show_rate, white_on;
  int mirror_mode;
  uint32_t background;
  int32_t target_rate;
  bool operator==(const Switches&) const = default;
};

Switches now(const Fps& pacer) {
  return {demo.next_scene, demo.fade_on,        demo.blur_on,   demo.glare_on,     demo.show_rate,
          demo.white_on,   demo.mirror_mode,    demo.background, pacer.target_rate};
}

struct KeyCase {
  const char* keys;   // pressed in order from the fixture's state
  Switches want;
};

class KeyTable : public DriverTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyTable, SwitchesAfterKeys) {
  Fps pacer{};
  pacer.target_rate = 50;
  demo.pacer = &pacer;
  demo.background = 0x123456;   // what a scene set
  for (const char* k = GetParam().keys; *k; ++k) demo_obey_key(*k);
  EXPECT_EQ(now(pacer), GetParam().want) << "keys \"" << GetParam().keys << "\"";
  demo.pacer = nullptr;
}

constexpr uint32_t kScene = 0x123456;
INSTANTIATE_TEST_SUITE_P(
    Cases, KeyTable,
    ::testing::Values(
        KeyCase{" ", {true, false, false, false, false, false, 0, kScene, 50}},
        KeyCase{"f", {false, true, false, false, false, false, 0, kScene, 50}},
        KeyCase{"ff", {false, false, false, false, false, false, 0, kScene, 50}},
        KeyCase{"b", {false, false, true, false, false, false, 0, kScene, 50}},
        KeyCase{"g", {false, false, false, true, false, false, 0, kScene, 50}},
        KeyCase{"8", {false, false, false, false, true, false, 0, kScene, 50}},
        KeyCase{"m", {false, false, false, false, false, false, 1, kScene, 50}},
        KeyCase{"mm", {false, false, false, false, false, false, 2, kScene, 50}},
        KeyCase{"mmm", {false, false, false, false, false, false, 0, kScene, 50}},
        KeyCase{"w", {false, false, false, false, false, true, 0, 0xffffff, 50}},
        // Twice gives black, not the background the scene had.
        KeyCase{"ww", {false, false, false, false, false, false, 0, 0, 50}},
        KeyCase{"5", {false, false, false, false, false, false, 0, kScene, 25}},
        KeyCase{"55", {false, false, false, false, false, false, 0, kScene, 25}},
        KeyCase{"56", {false, false, false, false, false, false, 0, kScene, 50}},
        // Upper case, the other digits and s do nothing.
        KeyCase{"FBGMWPUI1234790s", {false, false, false, false, false, false, 0, kScene, 50}}));

TEST_F(DriverTest, ScrollerSpeedWithoutLimitAndOnlyOnceItExists) {
  demo_obey_key('u');   // no scroller yet (the intro): nothing happens
  demo_obey_key('i');
  LScrlXyz* scroller = lscrlxyz_new();
  ASSERT_NE(scroller, nullptr);
  demo.scroller = scroller;
  scroller->speed = 5;   // as the scroller scene starts it
  for (int i = 0; i < 10; ++i) demo_obey_key('u');
  EXPECT_EQ(scroller->speed, 15);
  for (int i = 0; i < 20; ++i) demo_obey_key('i');
  EXPECT_EQ(scroller->speed, -5);
  demo.scroller = nullptr;
  lscrlxyz_free(&scroller);
}

// P pauses; the pause polls the keyboard until a second P. The test platform's keyboard answers
// a poll inside a pause with that P.
TEST_F(DriverTest, PauseEndsOnTheSecondP) {
  demo.keyboard = xkbd_new();
  ASSERT_NE(demo.keyboard, nullptr);
  demo_obey_key('p');
  EXPECT_FALSE(demo.paused);
  demo.keyboard = nullptr;
}

// Without a keyboard nothing could end the pause: it is not entered.
TEST_F(DriverTest, NoPauseWithoutAKeyboard) {
  demo_obey_key('p');
  EXPECT_FALSE(demo.paused);
}

}  // namespace
