// Mixer: the running (previous + sum) / 16, and the blocked fast path against the reference.
#include "audio/soundmix.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "audio/list.h"
#include "audio/sample.h"

namespace {

Sample* voice(const SoundMix* x, int32_t k) { return static_cast<Sample*>(list_get(x->voices, k)); }

void set_voice(SoundMix* x, int32_t k, Sample* s) {
  Sample* old = voice(x, k);
  sample_free(&old);
  list_set(x->voices, k, s);
}

Sample* constant(int32_t n, int32_t v) {
  Sample* s = sample_new();
  sample_set_length(s, n);
  for (int32_t i = 0; i < n; ++i) s->data[i] = v;
  return s;
}

TEST(SoundMixNew, Defaults) {
  SoundMix* x = soundmix_new();
  ASSERT_NE(x, nullptr);
  EXPECT_EQ(x->input_format.rate, 44100);
  EXPECT_EQ(x->output_format.width, 16);
  EXPECT_EQ(x->output_format.channels, 1);
  EXPECT_EQ(x->output_format.sign, 's');
  EXPECT_EQ(x->output_format.byte_order, 'l');
  ASSERT_EQ(x->voices->count, 16);
  for (int32_t k = 0; k < 16; ++k) {
    EXPECT_EQ(voice(x, k)->length, 0);
    EXPECT_EQ(sample_get(x->volumes, k), 0x10000);
  }
  EXPECT_EQ(x->volumes->length, 16);
  EXPECT_EQ(x->output->length, 44100);
  soundmix_free(&x);
  EXPECT_EQ(x, nullptr);
}

TEST(SoundMixMix, ConstantVoiceSettlesAtTheFixedPoint) {
  for (auto mix : {soundmix_mix, soundmix_mix_reference}) {
    SoundMix* x = soundmix_new();
    sample_set_length(x->output, 5000);
    set_voice(x, 3, constant(5000, 1600));
    const int32_t want[] = {100, 106, 106, 106};
    for (int32_t frame : want) {
      mix(x);
      EXPECT_EQ(x->output->data[0], frame);
      EXPECT_EQ(x->output->data[4999], frame);
    }
    soundmix_free(&x);
  }
}

TEST(SoundMixMix, EmptyVoicesDecayTheOutput) {
  SoundMix* x = soundmix_new();
  sample_set_length(x->output, 3);
  x->output->data[0] = 100000;
  x->output->data[1] = -100000;
  x->output->data[2] = 15;
  const int32_t want[][3] = {{6250, -6250, 0}, {390, -390, 0}, {24, -24, 0}, {1, -1, 0}, {0, 0, 0}};
  for (const auto& w : want) {
    soundmix_mix(x);
    EXPECT_EQ(std::vector<int32_t>(x->output->data, x->output->data + 3),
              std::vector<int32_t>(w, w + 3));
  }
  soundmix_free(&x);
}

TEST(SoundMixMix, GainsShortVoicesAndWrapAround) {
  SoundMix* x = soundmix_new();
  sample_set_length(x->output, 4);
  Sample* a = constant(4, 32000);
  Sample* b = constant(2, -32768);        // covers elements 0 and 1 only
  Sample* c = constant(8, 70000);         // beyond 16 bits: unity gain keeps its low half word
  set_voice(x, 0, a);
  set_voice(x, 1, b);
  set_voice(x, 2, c);
  sample_set(x->volumes, 0, 0x8000);      // half: 16000
  sample_set(x->volumes, 1, -0x10000);    // (-32768 * -65536) wraps to INT_MIN, >> 16 = -32768
  // 70000 * 65536 wraps to 4464 * 65536: adds 4464.
  soundmix_mix(x);
  const int32_t want[] = {(16000 - 32768 + 4464) / 16, (16000 - 32768 + 4464) / 16,
                          (16000 + 4464) / 16, (16000 + 4464) / 16};
  EXPECT_EQ(std::vector<int32_t>(x->output->data, x->output->data + 4),
            std::vector<int32_t>(want, want + 4));
  soundmix_free(&x);
}

TEST(SoundMixMix, NullMixerOrVoices) {
  soundmix_mix(nullptr);
  soundmix_mix_reference(nullptr);
  SoundMix* x = soundmix_new();
  List* voices = x->voices;
  x->voices = nullptr;
  x->output->data[0] = 1000;
  soundmix_mix(x);
  EXPECT_EQ(x->output->data[0], 1000);
  x->voices = voices;
  soundmix_free(&x);
}

// Random voices of every kind the mixer can meet: full-range values, shorter and longer than the
// output, empty, without storage, odd gains, the output itself as a voice, other voice counts.
TEST(SoundMixMix, FastPathMatchesReferenceBitForBit) {
  std::mt19937 rng(20240611);
  auto pick = [&rng](int32_t lo, int32_t hi) {
    return std::uniform_int_distribution<int32_t>(lo, hi)(rng);
  };
  for (int round = 0; round < 40; ++round) {
    SoundMix* fast = soundmix_new();
    SoundMix* ref = soundmix_new();
    const int32_t length = round == 0 ? 160000 : pick(1, 9000);
    const int32_t voices = round < 30 ? 16 : pick(1, 20);
    while (fast->voices->count < voices) {
      list_push(fast->voices, sample_new());
      list_push(ref->voices, sample_new());
    }
    while (fast->voices->count > voices) {
      set_voice(fast, fast->voices->count - 1, nullptr);
      set_voice(ref, ref->voices->count - 1, nullptr);
      list_remove(fast->voices, fast->voices->count - 1);
      list_remove(ref->voices, ref->voices->count - 1);
    }
    sample_set_length(fast->volumes, voices);
    sample_set_length(ref->volumes, voices);
    sample_set_length(fast->output, length);
    sample_set_length(ref->output, length);
    for (int32_t j = 0; j < length; ++j)
      fast->output->data[j] = ref->output->data[j] = int32_t(rng());
    for (int32_t k = 0; k < voices; ++k) {
      const int kind = pick(0, 9);
      Sample* v;
      if (kind == 0) {
        v = sample_new();                        // empty
      } else if (kind == 1) {
        Sample* empty = sample_new();
        v = sample_clone(empty);                 // no storage at all
        sample_free(&empty);
      } else {
        const int32_t n = kind == 2 ? pick(1, length) : kind == 3 ? length + pick(1, 3000) : length;
        v = sample_new();
        sample_set_length(v, n);
        const bool loud = kind == 4;
        for (int32_t j = 0; j < n; ++j) v->data[j] = loud ? int32_t(rng()) : pick(-40000, 40000);
      }
      const int g = pick(0, 4);
      const int32_t volume = g == 0 ? 0x10000 : g == 1 ? 0 : g == 2 ? pick(-0x20000, 0x20000)
                                                                    : int32_t(rng());
      set_voice(fast, k, v);
      set_voice(ref, k, sample_clone(v));
      fast->volumes->data[k] = ref->volumes->data[k] = volume;
    }
    for (int frame = 0; frame < 3; ++frame) {
      soundmix_mix(fast);
      soundmix_mix_reference(ref);
      ASSERT_EQ(fast->output->length, ref->output->length);
      for (int32_t j = 0; j < length; ++j)
        ASSERT_EQ(fast->output->data[j], ref->output->data[j])
            << "round " << round << " frame " << frame << " element " << j;
    }
    soundmix_free(&fast);
    soundmix_free(&ref);
  }
}

TEST(SoundMixMix, OutputAsItsOwnVoice) {
  SoundMix* fast = soundmix_new();
  SoundMix* ref = soundmix_new();
  for (SoundMix* x : {fast, ref}) {
    sample_set_length(x->output, 3000);
    for (int32_t j = 0; j < 3000; ++j) x->output->data[j] = j * 7 - 9000;
    Sample* v = voice(x, 5);
    sample_free(&v);
    list_set(x->voices, 5, x->output);
  }
  soundmix_mix(fast);
  soundmix_mix_reference(ref);
  EXPECT_EQ(std::vector<int32_t>(fast->output->data, fast->output->data + 3000),
            std::vector<int32_t>(ref->output->data, ref->output->data + 3000));
  EXPECT_EQ(fast->output->data[0], (-9000 - 9000) / 16);
  for (SoundMix* x : {fast, ref}) {
    list_set(x->voices, 5, sample_new());
    soundmix_free(&x);
  }
}

// The running system's use over a few hundred frames: every so often one voice is freed and
// replaced by a fresh clone of a pattern (which malloc may place in the freed storage), at full
// volume, and the kept voice sum must follow. Also a replacement the mixer is not told about,
// a volume change and an output resize: they change what the sum was built from.
TEST(SoundMixMix, KeptSumFollowsVoiceChangesOverManyFrames) {
  std::mt19937 rng(7316);
  SoundMix* fast = soundmix_new();
  SoundMix* ref = soundmix_new();
  constexpr int32_t kLength = 20000;
  for (SoundMix* x : {fast, ref}) sample_set_length(x->output, kLength);
  Sample* pattern = sample_new();
  sample_set_length(pattern, kLength);
  for (int frame = 0; frame < 400; ++frame) {
    if (frame % 23 == 0) {
      for (int32_t j = 0; j < kLength; ++j) pattern->data[j] = std::uniform_int_distribution<int32_t>(-30000, 30000)(rng);
      const int32_t k = int32_t(rng() % 16);
      for (SoundMix* x : {fast, ref}) {
        Sample* old = voice(x, k);
        sample_free(&old);
        list_set(x->voices, k, sample_clone(pattern));
        sample_set(x->volumes, k, 0x10000);
        soundmix_voices_changed(x);
      }
    }
    if (frame == 101) {   // a new voice while the old one still lives: new storage, untold
      for (SoundMix* x : {fast, ref}) {
        Sample* fresh = constant(kLength / 2, 1234);
        Sample* old = voice(x, 3);
        list_set(x->voices, 3, fresh);
        sample_free(&old);
      }
    }
    if (frame == 202) {
      for (SoundMix* x : {fast, ref}) sample_set(x->volumes, 3, 0x8000);
    }
    if (frame == 303) {
      for (SoundMix* x : {fast, ref}) sample_set_length(x->output, kLength - 777);
    }
    soundmix_mix(fast);
    soundmix_mix_reference(ref);
    ASSERT_EQ(fast->output->length, ref->output->length);
    for (int32_t j = 0; j < fast->output->length; ++j)
      ASSERT_EQ(fast->output->data[j], ref->output->data[j]) << "frame " << frame << " element " << j;
  }
  sample_free(&pattern);
  soundmix_free(&fast);
  soundmix_free(&ref);
}

}  // namespace
