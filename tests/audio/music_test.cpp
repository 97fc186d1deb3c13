// Sequencer: the tick clock, and patterns built from seeded draws in their listed order.
#include "audio/music.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <vector>

#include "audio/list.h"
#include "audio/sample.h"

namespace {

Sample* make(std::vector<int32_t> v) {
  Sample* s = sample_new();
  sample_set_length(s, int32_t(v.size()));
  for (size_t i = 0; i < v.size(); ++i) s->data[i] = v[i];
  return s;
}

std::vector<int32_t> values(const Sample* s) { return {s->data, s->data + s->length}; }

struct Draws {
  int32_t index, offset, c;
};

// The six draws of one pattern for a loop of length L over n instruments.
Draws draws_for(unsigned seed, int32_t n, int32_t L) {
  std::srand(seed);
  Draws d;
  d.index = std::rand() % n;
  const int b2 = std::rand() % 2, b3 = std::rand() % 2, b4 = std::rand() % 2, b5 = std::rand() % 2;
  d.offset = b2 * (L >> 1) + b3 * (L >> 2) + b4 * (L >> 4) + b5 * (L >> 3);
  d.c = std::rand() % 4;
  return d;
}

// d = 2^c copies spaced L/d apart from the offset, wrapping round the loop, scaled (4 - c)/4.
std::vector<int32_t> expected_pattern(const std::vector<int32_t>& inst, const Draws& d, int32_t L) {
  std::vector<int32_t> p(size_t(L), 0);
  const int32_t copies = 1 << d.c;
  for (int32_t j = 0; j < copies; ++j)
    for (size_t t = 0; t < inst.size() && int32_t(t) < L; ++t)
      p[size_t((d.offset + j * (L / copies) + int32_t(t)) % L)] += inst[t];
  for (int32_t& v : p) v = (v * (4 - d.c)) >> 2;
  return p;
}

TEST(MusicNew, Defaults) {
  Music* m = music_new();
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->countdown, 0);
  EXPECT_EQ(m->period, 300);
  EXPECT_EQ(m->loop->length, 160000);
  EXPECT_EQ(m->instruments->count, 0);
  EXPECT_EQ(m->pattern, nullptr);
  music_free(&m);
  EXPECT_EQ(m, nullptr);
}

TEST(MusicTick, PatternEveryPeriod) {
  Music* m = music_new();
  for (int i = 0; i < 299; ++i) music_tick(m);
  EXPECT_EQ(m->pattern, nullptr);
  EXPECT_EQ(m->countdown, 1);
  music_tick(m);
  ASSERT_NE(m->pattern, nullptr);
  EXPECT_EQ(m->pattern->length, 160000);
  EXPECT_EQ(m->countdown, 0);
  music_tick(m);
  EXPECT_EQ(m->countdown, 299);
  music_free(&m);
}

TEST(MusicTick, PeriodChangeTakesEffectAfterTheRunningCountdown) {
  Music* m = music_new();
  m->period = 224;
  std::vector<int> made;
  for (int tick = 1; tick <= 620; ++tick) {
    if (tick == 224 + 60) m->period = 160;  // mid-countdown
    music_tick(m);
    if (m->countdown == 0) made.push_back(tick);
  }
  EXPECT_EQ(made, (std::vector<int>{224, 448, 608}));
  music_free(&m);
}

TEST(MusicPattern, WithoutInstrumentsStaysSilentAndDrawsNothing) {
  Music* m = music_new();
  sample_set_length(m->loop, 8);
  m->pattern = make({1, 2, 3, 4, 5, 6, 7, 8});
  std::srand(3);
  const int next = std::rand();
  std::srand(3);
  music_new_pattern(m);
  EXPECT_EQ(values(m->pattern), std::vector<int32_t>(8, 0));
  EXPECT_EQ(std::rand(), next);
  music_free(&m);
}

TEST(MusicPattern, CopiesOffsetAndLoudnessFromTheDraws) {
  const int32_t L = 32;
  const std::vector<int32_t> a = {100, 200, 300, 400, 500};  // longer than the spacing of 8 copies
  const std::vector<int32_t> b = {-7, 1 << 20, 3};
  Music* m = music_new();
  sample_set_length(m->loop, L);
  music_add_instrument(m, make(a));
  music_add_instrument(m, make(b));
  std::set<int32_t> seen_c, seen_offset, seen_index;
  for (unsigned seed = 1; seed <= 60; ++seed) {
    const Draws d = draws_for(seed, 2, L);
    std::rand();
    const int next = std::rand();  // the draw after the six
    std::srand(seed);
    music_new_pattern(m);
    ASSERT_EQ(m->pattern->length, L);
    EXPECT_EQ(values(m->pattern), expected_pattern(d.index ? b : a, d, L))
        << "seed " << seed << " index " << d.index << " offset " << d.offset << " c " << d.c;
    std::srand(seed);
    for (int i = 0; i < 6; ++i) std::rand();
    std::rand();
    EXPECT_EQ(std::rand(), next);
    seen_c.insert(d.c);
    seen_offset.insert(d.offset);
    seen_index.insert(d.index);
  }
  EXPECT_EQ(seen_c.size(), 4u);
  EXPECT_GE(seen_offset.size(), 8u);
  EXPECT_EQ(seen_index.size(), 2u);
  music_free(&m);
}

TEST(MusicPattern, TwoCopiesOfASecondInTheFullLoop) {
  const int32_t L = 160000;
  unsigned seed = 1;
  while (draws_for(seed, 1, L).c != 1) ++seed;
  const Draws d = draws_for(seed, 1, L);
  std::vector<int32_t> tone(44100);
  for (int32_t i = 0; i < 44100; ++i) tone[size_t(i)] = (i % 200) * 163 - 16000;
  Music* m = music_new();
  music_add_instrument(m, make(tone));
  std::srand(seed);
  music_new_pattern(m);
  const int32_t* p = m->pattern->data;
  for (int32_t t : {0, 1, 199, 20000, 44099}) {
    const int32_t want = (tone[size_t(t)] * 3) >> 2;
    EXPECT_EQ(p[(d.offset + t) % L], want) << t;
    EXPECT_EQ(p[(d.offset + 80000 + t) % L], want) << t;
  }
  EXPECT_EQ(p[(d.offset + 44100) % L], 0);
  EXPECT_EQ(p[(d.offset + 79999) % L], 0);
  EXPECT_EQ(p[(d.offset + 124100) % L], 0);
  music_free(&m);
}

TEST(MusicPattern, FollowsALoopLengthChange) {
  Music* m = music_new();
  music_add_instrument(m, make({1000, 2000}));
  std::srand(9);
  music_new_pattern(m);
  ASSERT_EQ(m->pattern->length, 160000);
  sample_set_length(m->loop, 16);
  music_new_pattern(m);
  EXPECT_EQ(m->pattern->length, 16);
  music_free(&m);
}

TEST(Music, NullArguments) {
  music_tick(nullptr);
  music_new_pattern(nullptr);
  Sample* s = make({1});
  music_add_instrument(nullptr, s);
  Music* m = music_new();
  music_add_instrument(m, nullptr);
  EXPECT_EQ(m->instruments->count, 0);
  music_free(&m);
  music_free(&m);
  music_free(nullptr);
  sample_free(&s);
}

}  // namespace
