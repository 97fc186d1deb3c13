// The pacer's arithmetic: sleep and shown rate from the target and the measured work.
#include <vector>

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

// The deadline over many frames, on a simulated monotonic clock: each frame spends `outside` us
// before fps_begin (the caller's own steps), `work` us of work, and every sleep ends `overshoot`
// us late. Returns the times at which each frame ended.
std::vector<double> simulate(int32_t target, int frames, double outside, double work, double overshoot,
                             int late_frame = -1, double late_work = 0) {
  Fps fps{};
  fps.target_rate = target;
  double now = 1e6;
  std::vector<double> ends;
  for (int i = 0; i < frames; ++i) {
    now += outside;
    fps_slot_begin(&fps, now);
    now += i == late_frame ? late_work : work;
    const double deadline = fps_slot_end(&fps);
    if (deadline > now) now = deadline + overshoot;
    ends.push_back(now);
  }
  return ends;
}

TEST(FpsDeadline, FramesAverageThePeriod) {
  struct Case {
    int32_t target;
    double outside, work, overshoot;
    double period;   // expected average
  };
  // Work, time outside the measured work and a sleep's lateness are all made up; only frames
  // whose work alone passes the period run slower.
  const Case cases[] = {
      {50, 0, 5000, 0, 20000},    {50, 110, 5000, 60, 20000},  {50, 900, 18000, 400, 20000},
      {25, 110, 5000, 60, 40000}, {50, 0, 25000, 0, 25000},     {50, 300, 19600, 500, 20000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.target << " fps, outside " << c.outside << ", work " << c.work
                                    << ", overshoot " << c.overshoot);
    const std::vector<double> ends = simulate(c.target, 1500, c.outside, c.work, c.overshoot);
    const double average = (ends.back() - ends.front()) / 1499;
    EXPECT_NEAR(average, c.period, 1.0);
  }
}

TEST(FpsDeadline, LateFrameIsNotMadeUp) {
  // Frame 100 takes 70 ms: the frames after it keep their whole period instead of hurrying.
  const std::vector<double> ends = simulate(50, 300, 100, 5000, 50, 100, 70000);
  for (int i = 102; i < 300; ++i) EXPECT_NEAR(ends[size_t(i)] - ends[size_t(i - 1)], 20000, 1.0) << i;
  EXPECT_NEAR(ends[100] - ends[99], 100 + 70000, 1.0);
  // A frame late by less than a period is made up by the next one.
  const std::vector<double> small = simulate(50, 300, 100, 5000, 50, 100, 30000);
  EXPECT_NEAR(small[101] - small[99], 40000, 1.0);
}

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
