// Instrument generators: exact samples of the sine, square, noise and fade, and the bank recipes.
#include "audio/sound.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "audio/sample.h"

namespace {

Sample* make(int32_t n, int32_t fill = 0) {
  Sample* s = sample_new();
  sample_set_length(s, n);
  for (int32_t i = 0; i < n; ++i) s->data[i] = fill;
  return s;
}

std::vector<int32_t> values(const Sample* s) { return {s->data, s->data + s->length}; }

TEST(SoundSine, TableLandmarks) {
  const Sample* t = sound_sine_table();
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->length, 44100);
  EXPECT_EQ(t->data[0], 0);
  EXPECT_EQ(t->data[1], 4);
  EXPECT_EQ(t->data[11025], 32766);
  EXPECT_EQ(t->data[22050], 0);
  EXPECT_EQ(t->data[33075], -32766);
  EXPECT_EQ(t->data[44099], -4);
  EXPECT_EQ(t, sound_sine_table());  // built once, shared
}

TEST(SoundSine, ToneSamples) {
  Sample* s = make(44100, 99);
  sound_sine(s, 1);
  EXPECT_EQ(values(s), values(sound_sine_table()));

  sound_sine(s, 440);
  EXPECT_EQ(std::vector<int32_t>(s->data, s->data + 5), (std::vector<int32_t>{0, 2052, 4097, 6126, 8130}));
  const std::vector<int32_t> first = values(s);
  sound_sine(s, 440);  // the phase restarts at 0 on every call
  EXPECT_EQ(values(s), first);

  sample_set_length(s, 9);
  sound_sine(s, 11025);
  EXPECT_EQ(values(s), (std::vector<int32_t>{0, 32766, 0, -32766, 0, 32766, 0, -32766, 0}));
  sample_free(&s);
}

TEST(SoundSquare, CyclesOfAFractionalPeriod) {
  // f = 3072: period 470400 / 32768 = 14.36 samples; 30 samples hold two whole cycles.
  Sample* s = make(30, 5);
  sound_square(s, 3072);
  std::vector<int32_t> want;
  for (int rep = 0; rep < 2; ++rep) {
    want.insert(want.end(), 7, 32767);
    want.push_back(0);
    want.insert(want.end(), 5, -32768);
    want.push_back(0);
  }
  want.push_back(5);  // cycle 1 ends at 27; 28 and 29 are not part of a whole cycle
  want.push_back(5);
  EXPECT_EQ(values(s), want);
  sample_free(&s);
}

TEST(SoundSquare, RunLengthsAtTheTopRate) {
  // f = 4592: period 9.60 samples, 4 or 5 positive and 2 or 3 negative samples per cycle.
  Sample* s = make(22050, 7);
  sound_square(s, 4592);
  int32_t i = 0, cycles = 0;
  while (i < s->length && s->data[i] == 32767) {
    int32_t pos = 0, neg = 0;
    while (i < s->length && s->data[i] == 32767) ++pos, ++i;
    ASSERT_EQ(s->data[i++], 0);
    while (i < s->length && s->data[i] == -32768) ++neg, ++i;
    ASSERT_EQ(s->data[i++], 0);
    EXPECT_TRUE(pos == 4 || pos == 5) << "cycle " << cycles;
    EXPECT_TRUE(neg == 2 || neg == 3) << "cycle " << cycles;
    ++cycles;
  }
  const int32_t whole = int32_t(int64_t(22050) * 32768 / (1445068800 / 4592));
  EXPECT_EQ(cycles, whole);
  for (; i < s->length; ++i) EXPECT_EQ(s->data[i], 7) << i;  // the tail is left alone
  sample_free(&s);
}

TEST(SoundSquare, ShorterThanOnePeriodWritesNothing) {
  Sample* s = make(10, 5);
  sound_square(s, 3072);
  EXPECT_EQ(values(s), std::vector<int32_t>(10, 5));
  sample_free(&s);
}

TEST(SoundNoise, HoldsDrawsFromTheEnd) {
  std::srand(77);
  int32_t h[5];
  for (int32_t& v : h) v = (std::rand() & 0xFFFF) - 32768;
  std::srand(77);
  Sample* s = make(6);
  // Rate 22050: the counter starts at 22050 and underflows on every second sample.
  sound_noise(s, 22050);
  EXPECT_EQ(values(s), (std::vector<int32_t>{h[3], h[2], h[2], h[1], h[1], h[0]}));
  EXPECT_EQ((std::rand() & 0xFFFF) - 32768, h[4]);  // exactly four draws were taken
  sample_free(&s);
}

TEST(SoundNoise, RateAboveTheSampleRateDrawsEverySample) {
  std::srand(5);
  std::vector<int32_t> h(5);
  for (int32_t& v : h) v = (std::rand() & 0xFFFF) - 32768;
  std::srand(5);
  Sample* s = make(4);
  sound_noise(s, 73472);
  EXPECT_EQ(values(s), (std::vector<int32_t>{h[4], h[3], h[2], h[1]}));
  sample_free(&s);
}

TEST(SoundFade, EnvelopeEnds) {
  struct Case {
    int32_t length, x, first;
  } cases[] = {{22050, 1000, 999}, {44100, 1000, 999}, {22050, 32768, 32767},
               {22050, -1, -1},    {44100, -65536, -65534}, {22050, 65536, 65534}};
  for (const Case& c : cases) {
    Sample* s = make(c.length, c.x);
    sound_fade_out(s);
    EXPECT_EQ(s->data[0], c.first) << c.length << " " << c.x;
    EXPECT_EQ(s->data[c.length - 1], 0) << c.length << " " << c.x;
    sample_free(&s);
  }
  // Second and third elements follow the ramp 32767, 32766, 32764 of 22050 elements.
  Sample* s = make(22050, 32768);
  sound_fade_out(s);
  EXPECT_EQ(s->data[1], 32766);
  EXPECT_EQ(s->data[2], 32764);
  sample_free(&s);
}

TEST(SoundGenerators, NullSampleAndBadFrequencyDoNothing) {
  sound_sine(nullptr, 440);
  sound_square(nullptr, 440);
  sound_noise(nullptr, 440);
  sound_fade_out(nullptr);
  Sample* s = make(4, 3);
  sound_sine(s, 0);
  sound_square(s, 0);
  sound_square(s, 44100);
  EXPECT_EQ(values(s), std::vector<int32_t>(4, 3));
  sample_free(&s);
  EXPECT_EQ(sound_instrument(nullptr, 0), nullptr);
}

TEST(SoundNotes, Table) {
  ASSERT_EQ(sound_note_count, 48);
  EXPECT_EQ(sound_note_table[0], 55);
  EXPECT_EQ(sound_note_table[9], 93);
  EXPECT_EQ(sound_note_table[36], 440);
  EXPECT_EQ(sound_note_table[47], 831);
  for (int i = 12; i < 48; ++i) EXPECT_NEAR(sound_note_table[i], 2 * sound_note_table[i - 12], 1);
}

TEST(SoundBank, TonalInstruments) {
  Sample* h = sample_new();
  // Values of the recipe worked out from the sine table: k 40 is f = 554, whose fundamental is
  // halved (f >> 9 = 1).
  struct Case {
    int32_t k, at[5], want[5];
  } cases[] = {{0, {0, 1, 2, 1000, 44099}, {0, 511, 1025, 15723, 0}},
               {40, {0, 1, 2, 1000, 44099}, {0, 4476, 8665, 10598, 0}},
               {47, {0, 1, 2, 1000, 44098}, {0, 6624, 12306, -8360, -1}}};
  for (const Case& c : cases) {
    Sample* x = sound_instrument(h, c.k);
    ASSERT_NE(x, nullptr);
    ASSERT_EQ(x->length, 44100);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(x->data[c.at[i]], c.want[i]) << c.k << " @" << c.at[i];
    Sample* twin = sound_instrument(h, c.k + 48);
    EXPECT_EQ(values(twin), values(x));
    sample_free(&x);
    sample_free(&twin);
  }
  EXPECT_EQ(h->length, 44100);
  sample_free(&h);
}

TEST(SoundBank, NoiseFamiliesDrawInOrder) {
  // Draws per instrument: one per noise call plus one per counter underflow.
  struct Case {
    int32_t k, draws;
  } cases[] = {{96, 226}, {191, 891}, {192, 34340}, {287, 40420}};
  Sample* h = sample_new();
  for (const Case& c : cases) {
    std::srand(11);
    Sample* x = sound_instrument(h, c.k);
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(x->length, 22050);
    EXPECT_EQ(h->length, 22050);
    EXPECT_EQ(x->data[22049], 0) << c.k;
    const int next = std::rand();
    std::srand(11);
    for (int i = 0; i < c.draws; ++i) std::rand();
    EXPECT_EQ(std::rand(), next) << c.k;
    // The same seed gives the same instrument.
    std::srand(11);
    Sample* again = sound_instrument(h, c.k);
    EXPECT_EQ(values(again), values(x));
    sample_free(&x);
    sample_free(&again);
  }
  sample_free(&h);
  EXPECT_EQ(sound_instrument(h, 288), nullptr);
}

// The recipes written out with the public generators, one sound_fade_out per fade: the bank
// builder, which shares one envelope per instrument, must give the same samples.
Sample* noise_recipe(Sample* h, int32_t k) {
  const bool low = k < 192;
  const int32_t a = low ? k - 64 : 16 * k;
  const int fades = low ? 3 : 5;
  sample_set_length(h, 22050);
  Sample* x = make(22050);
  if (low) {
    sound_sine(x, a);
    sample_add(x, x);
    sound_fade_out(x);
  } else {
    sound_square(x, a);
    sample_add(x, x);
    for (int i = 0; i < 5; ++i) sound_fade_out(x);
  }
  sample_shr(x, a >> 9);
  for (int32_t rate : {low ? 6 * a : 8 * a, low ? 8 * a : 16 * a}) {
    sound_noise(h, rate);
    for (int i = 0; i < fades; ++i) sound_fade_out(h);
    sample_add(x, h);
  }
  sample_shr(x, 2);
  for (int i = 0; i < (low ? 1 : 5); ++i) sound_fade_out(x);
  return x;
}

TEST(SoundBank, SharedEnvelopeMatchesTheLiteralRecipe) {
  Sample* h = sample_new();
  for (int32_t k : {96, 150, 191, 192, 240, 287}) {
    std::srand(unsigned(k));
    Sample* want = noise_recipe(h, k);
    std::srand(unsigned(k));
    Sample* got = sound_instrument(h, k);
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(values(got), values(want)) << k;
    sample_free(&want);
    sample_free(&got);
  }
  sample_free(&h);
}

}  // namespace
