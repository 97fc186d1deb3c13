// The pacer's arithmetic: sleep and shown rate from the target and the measured work.
#include <gtest/gtest.h>

#include "platform/fps.h"

namespace {

struct PaceCase {
  int32_t target;
  double work_us;
  int32_t sleep_us;
  int32_t shown_rate;
};

class FpsCompute : public ::testing::TestWithParam<PaceCase> {};

TEST_P(FpsCompute, SleepAndShownRate) {
  const PaceCase& c = GetParam();
  Fps fps{};
  fps.target_rate = c.target;
  fps.work_us = c.work_us;
  fps_compute(&fps);
  EXPECT_EQ(fps.sleep_us, c.sleep_us);
  EXPECT_EQ(fps.shown_rate, c.shown_rate);
}

INSTANTIATE_TEST_SUITE_P(Cases, FpsCompute,
                         ::testing::Values(PaceCase{50, 12345.6, 7655, 50},     // fits: sleep the rest
                                           PaceCase{25, 12345.6, 27655, 25},    // the 40 ms period
                                           PaceCase{50, 20000.0, 0, 50},        // exactly one period
                                           PaceCase{50, 25000.0, -5000, 40},    // late: the real rate
                                           PaceCase{50, 19999.9, 1, 50},        // truncated, not rounded
                                           PaceCase{50, 1e12, -2147463647, 0},  // absurd work stays in range
                                           PaceCase{50, -1000.0, 20000, 50},    // clock stepped back: no work
                                           PaceCase{50, -3.6e9, 20000, 50},     // an hour back: one period, no overflow
                                           PaceCase{0, 100.0, -100, 10000}));   // no target: no division by 0

TEST(Fps, CountsOnlyEndedFramesAndIgnoresNull) {
  Fps* fps = fps_new();
  ASSERT_NE(fps, nullptr);
  EXPECT_GT(fps->start_us, 0.0);
  EXPECT_EQ(fps->frames, 0);
  fps_begin(fps);
  fps_end(fps);
  fps_begin(fps);   // a frame left through SPACE: begun, never ended
  EXPECT_EQ(fps->frames, 1);
  EXPECT_GE(fps->work_us, 0.0);
  fps_free(&fps);
  EXPECT_EQ(fps, nullptr);
  fps_begin(nullptr);
  fps_end(nullptr);
  fps_sleep(nullptr);
  fps_free(nullptr);
}

}  // namespace
