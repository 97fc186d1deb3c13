// The real-time stream: the rate controller's loop, the ramps, and the ring between a block
// producer and a device that pulls periods, driven here step by step without a thread.
#include "platform/sound/sndstream.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

namespace {

// One simulated block interval: the supply of `in` samples, resampled by the controller's ratio,
// against a device that plays `out` samples in the same time. Returns the fill afterwards and
// checks the ratio's bounds on the way.
struct Loop {
  SndRate rate;
  double fill;
  double min_ratio = 2, max_ratio = 0;
  void step(double in, double out) {
    const double r = sndrate_step(&rate, fill);
    min_ratio = std::min(min_ratio, r);
    max_ratio = std::max(max_ratio, r);
    fill = std::max(0.0, fill + in * r - out);
  }
};

TEST(SndRate, RatioStaysWithinHalfAPercent) {
  struct Case {
    const char* name;
    double start_fill;
    double in;    // supplied per block
    double out;   // played per block
  };
  // From empty and from full the loop drives the fill to the target and stays there; a supply
  // short or long by up to 0.4 % is learned by the integral part.
  const Case cases[] = {
      {"from empty", 0, 882, 882},          {"from full", 8192, 882, 882},
      {"supply 0.33 % short", 2400, 879.1, 882}, {"supply 0.4 % long", 2400, 885.5, 882},
      {"25 fps from empty", 0, 1764, 1764},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Loop loop;
    sndrate_init(&loop.rate, 2461);
    loop.fill = c.start_fill;
    for (int i = 0; i < 3000; ++i) loop.step(c.in, c.out);
    EXPECT_GE(loop.min_ratio, 1 - SNDSTREAM_MAX_SKEW);
    EXPECT_LE(loop.max_ratio, 1 + SNDSTREAM_MAX_SKEW);
    EXPECT_NEAR(loop.fill, 2461, 25);
    // Settled: the ratio matches what the supply lacks.
    EXPECT_NEAR(loop.rate.ratio, c.out / c.in, 0.0002);
  }
}

TEST(SndRate, FollowsAStepInSupply) {
  Loop loop;
  sndrate_init(&loop.rate, 2461);
  loop.fill = 2461;
  for (int i = 0; i < 1000; ++i) loop.step(882, 882);
  EXPECT_NEAR(loop.rate.ratio, 1.0, 1e-4);
  // The supply drops by 0.33 %: the fill sags for a while, never near empty, and comes back.
  double lowest = loop.fill;
  for (int i = 0; i < 3000; ++i) {
    loop.step(879.1, 882);
    lowest = std::min(lowest, loop.fill);
  }
  EXPECT_GT(lowest, 1600);
  EXPECT_NEAR(loop.fill, 2461, 25);
  EXPECT_NEAR(loop.rate.ratio, 882 / 879.1, 0.0002);
  // An impossible demand stays clamped.
  for (int i = 0; i < 500; ++i) loop.step(800, 882);
  EXPECT_DOUBLE_EQ(loop.rate.ratio, 1 + SNDSTREAM_MAX_SKEW);
}

TEST(SndStream, RampGainRisesSmoothlyFromZeroToOne) {
  EXPECT_EQ(sndstream_ramp_gain(-5), 0);
  EXPECT_EQ(sndstream_ramp_gain(0), 0);
  EXPECT_LE(sndstream_ramp_gain(1), 4);   // a full-scale sample next to silence stays below 2
  EXPECT_EQ(sndstream_ramp_gain(SNDSTREAM_RAMP / 2), 0x8000);
  EXPECT_EQ(sndstream_ramp_gain(SNDSTREAM_RAMP), 0x10000);
  EXPECT_EQ(sndstream_ramp_gain(SNDSTREAM_RAMP + 7), 0x10000);
  for (int32_t k = 1; k <= SNDSTREAM_RAMP; ++k) {
    const int32_t step = sndstream_ramp_gain(k) - sndstream_ramp_gain(k - 1);
    ASSERT_GE(step, 0) << k;
    ASSERT_LE(step, 0x10000 * 3 / (2 * SNDSTREAM_RAMP) + 1) << k;   // smoothstep's steepest slope
  }
}

// A producer of frames and a device of periods, stepped in time order (samples of device time).
class Stream : public ::testing::Test {
 protected:
  static constexpr int32_t kPeriod = 441;
  void SetUp() override { s = sndstream_new(kPeriod); }
  void TearDown() override { sndstream_free(&s); }

  // A 441 Hz tone at 3/4 of full scale: its largest step between samples is about 2300.
  int16_t tone(int64_t i) { return int16_t(std::lround(24000 * std::sin(2 * M_PI * 441.0 * double(i) / 44100))); }

  // Runs `samples` of device time; while `supplying`, a block of `block` samples arrives every
  // `block` samples of time (the frame rate), the `tail_every`-th one cut to `tail` samples, and
  // every `late_every`-th one `late` samples late (the next one comes on time).
  void run(int64_t samples, bool supplying, int32_t block = 882, int32_t tail_every = 0, int32_t tail = 0,
           int32_t late_every = 0, int32_t late = 0, bool pulling = true) {
    for (int64_t t = 0; t < samples; ++t, ++now) {
      const int64_t slot = now / block;
      const int64_t due = slot * block + (late_every && slot % late_every == 0 ? late : 0);
      if (supplying && now == due) {
        ++blocks;
        const int32_t n = tail_every && blocks % tail_every == 0 ? tail : block;
        std::vector<int16_t> b(static_cast<size_t>(n));
        for (int32_t i = 0; i < n; ++i) b[size_t(i)] = tone(made++);
        ASSERT_EQ(sndstream_push(s, b.data(), n), n);
        if (now > 44100 * 10) most = std::max(most, sndstream_fill(s));
      }
      if (pulling && now % kPeriod == 0) {
        std::vector<int16_t> p(kPeriod);
        sndstream_pull(s, p.data());
        heard.insert(heard.end(), p.begin(), p.end());
      }
    }
  }

  // Runs of exact zeros of at least `min_len` samples after `from`: (start, length).
  std::vector<std::pair<size_t, size_t>> silences(size_t from, size_t min_len) const {
    std::vector<std::pair<size_t, size_t>> out;
    size_t i = from;
    while (i < heard.size()) {
      if (heard[i] != 0) {
        ++i;
        continue;
      }
      size_t j = i;
      while (j < heard.size() && heard[j] == 0) ++j;
      if (j - i >= min_len) out.push_back({i, j - i});
      i = j;
    }
    return out;
  }

  int32_t largest_step(size_t from, size_t to) const {
    int32_t m = 0;
    for (size_t i = from + 1; i < to && i < heard.size(); ++i) m = std::max(m, std::abs(heard[i] - heard[i - 1]));
    return m;
  }

  SndStream* s = nullptr;
  int64_t now = 0, made = 0, blocks = 0;
  int32_t most = 0;   // the largest fill after a block, once settled
  std::vector<int16_t> heard;
};

TEST_F(Stream, SteadySupplyPlaysWithoutAGap) {
  struct Case {
    const char* name;
    int32_t block, tail_every, tail, late_every, late;
  };
  // 50 and 25 frames per second, the mix loop's pass of 181 full blocks and a short tail, and a
  // frame 15 ms late every second.
  const Case cases[] = {{"50 fps", 882, 0, 0, 0, 0},
                        {"25 fps", 1764, 0, 0, 0, 0},
                        {"loop tail", 882, 182, 358, 0, 0},
                        {"late frames", 882, 182, 358, 50, 661}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    now = made = blocks = 0;
    most = 0;
    heard.clear();
    run(44100 * 60, true, c.block, c.tail_every, c.tail, c.late_every, c.late);
    // Playback starts once the target fill is reached, then never falls silent.
    const auto gaps = silences(0, 22);
    ASSERT_FALSE(gaps.empty());
    EXPECT_EQ(gaps[0].first, 0u);
    ASSERT_EQ(gaps.size(), 1u) << "a gap at " << gaps[1].first << " of " << gaps[1].second;
    // Buffered: at most 80 ms, so that with the device's own 40 ms the latency stays within 120.
    EXPECT_LE(most, SNDSTREAM_BUDGET);
    EXPECT_LE(largest_step(gaps[0].second, heard.size()), 2400);
  }
}

TEST_F(Stream, StopAndRestartRampThroughSilence) {
  run(44100 * 10, true);
  const size_t stop = heard.size();
  run(44100 / 5, false);   // 200 ms without blocks: a fade between scenes
  run(44100 * 2, true);

  const size_t music = size_t(std::find_if(heard.begin(), heard.end(), [](int16_t v) { return v != 0; }) - heard.begin());
  const auto gaps = silences(music, 22);
  ASSERT_EQ(gaps.size(), 1u);
  const auto [start, length] = gaps[0];
  EXPECT_GE(start, stop);
  // Silence is reached and left through ramps: the samples next to it are near zero, and no
  // step anywhere is larger than the tone's own.
  EXPECT_LE(std::abs(heard[start - 1]), 64);
  EXPECT_LE(std::abs(heard[start + length]), 64);
  EXPECT_LE(largest_step(music, heard.size()), 2400);
  // The pause lasts the time without blocks plus the refill, nothing more.
  EXPECT_LT(double(length) / 44100, 0.2 + 0.08);
  // After the restart the tone plays at full level again.
  int16_t peak = 0;
  for (size_t i = heard.size() - 4410; i < heard.size(); ++i) peak = std::max<int16_t>(peak, int16_t(std::abs(heard[i])));
  EXPECT_GT(peak, 23000);
}

// The device stands still for two seconds while blocks keep coming (its first start on some
// servers, or a stall): the ring fills up and drops blocks. Afterwards the stale sound fades out,
// playback starts again from new blocks, and the latency is back within the budget at once.
TEST_F(Stream, DeviceStallStartsAfresh) {
  run(44100 * 5, true);
  const size_t before = heard.size();
  run(44100 * 2, true, 882, 0, 0, 0, 0, false);
  EXPECT_GT(sndstream_fill(s), SNDSTREAM_CAPACITY - SNDSTREAM_MAX_BLOCK);
  run(44100 * 3, true);
  EXPECT_LE(sndstream_fill(s), SNDSTREAM_BUDGET);
  const auto gaps = silences(before, 22);
  ASSERT_EQ(gaps.size(), 1u);
  EXPECT_LE(std::abs(heard[gaps[0].first - 1]), 64);
  EXPECT_LE(std::abs(heard[gaps[0].first + gaps[0].second]), 64);
  EXPECT_LE(largest_step(before, heard.size()), 2400);
}

TEST_F(Stream, StopRequestFadesOutAtOnce) {
  run(44100 * 2, true);
  sndstream_stop(s);
  std::vector<int16_t> p(kPeriod);
  sndstream_pull(s, p.data());
  EXPECT_EQ(p.back(), 0);
  EXPECT_LE(std::abs(p[kPeriod - 2]), 64);
  std::vector<int16_t> q(kPeriod, 1);
  sndstream_pull(s, q.data());
  for (int16_t v : q) ASSERT_EQ(v, 0);
}

TEST(SndStreamArgs, RefusesBadArguments) {
  EXPECT_EQ(sndstream_new(0), nullptr);
  EXPECT_EQ(sndstream_new(SNDSTREAM_CAPACITY), nullptr);
  SndStream* s = sndstream_new(441);
  ASSERT_NE(s, nullptr);
  int16_t x[4] = {};
  EXPECT_EQ(sndstream_push(s, nullptr, 4), -1);
  EXPECT_EQ(sndstream_push(s, x, -1), -1);
  EXPECT_EQ(sndstream_push(s, x, SNDSTREAM_MAX_BLOCK + 1), -1);
  EXPECT_EQ(sndstream_push(nullptr, x, 4), -1);
  sndstream_pull(nullptr, x);
  sndstream_free(&s);
  EXPECT_EQ(s, nullptr);
  sndstream_free(&s);
}

}  // namespace
