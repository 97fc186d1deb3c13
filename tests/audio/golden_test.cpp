// A guard against unnoticed changes of the sound: under one seed, exact samples at chosen places
// of the three instrument families and of the mix loop at chosen frames of the pump (a mismatch
// names the place and both values), and hashes of the whole families and loops for changes
// between the chosen places. The values were taken from this code once its samples had been
// checked against the recipes by hand and by an independent implementation. After an intended
// change of the sound, print the new values with
//   KROM_PRINT_GOLDEN=1 build/tests/tests_audio --gtest_filter='SoundGolden.*'
// and paste them below.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "audio/list.h"
#include "audio/music.h"
#include "audio/sample.h"
#include "audio/soundmix.h"
#include "audio/soundtrack.h"

namespace {

// FNV-1a over the values' bytes, low byte first.
uint64_t fnv1a(uint64_t h, const Sample* s) {
  for (int32_t i = 0; s && i < s->length; ++i) {
    const uint32_t v = uint32_t(s->data[i]);
    for (int b = 0; b < 32; b += 8) h = (h ^ ((v >> b) & 0xff)) * 0x100000001b3ull;
  }
  return h;
}

constexpr uint64_t kFnvStart = 0xcbf29ce484222325ull;

void expect_golden(const char* what, uint64_t got, uint64_t want) {
  if (std::getenv("KROM_PRINT_GOLDEN")) std::printf("%s 0x%016" PRIx64 "\n", what, got);
  EXPECT_EQ(got, want) << what;
}

// Eight places spread over a sample of `length`: the ends, and six between them.
int32_t chosen_place(int32_t length, int k) { return k == 7 ? length - 1 : int32_t(int64_t(length) * k / 7); }

// The exact values at the chosen places of `s` against `want` (eight values).
void expect_samples(const char* what, const Sample* s, const int32_t (&want)[8]) {
  ASSERT_NE(s, nullptr) << what;
  ASSERT_GT(s->length, 0) << what;
  if (std::getenv("KROM_PRINT_GOLDEN")) {
    std::printf("%s:", what);
    for (int k = 0; k < 8; ++k) std::printf(" %d,", s->data[chosen_place(s->length, k)]);
    std::printf("\n");
  }
  for (int k = 0; k < 8; ++k) {
    const int32_t at = chosen_place(s->length, k);
    EXPECT_EQ(s->data[at], want[k]) << what << ", sample " << at << " of " << s->length;
  }
}

TEST(SoundGolden, InstrumentFamiliesAndTheMixUnderOneSeed) {
  std::srand(7316);
  soundtrack.stream = nullptr;
  soundtrack_init();
  ASSERT_NE(soundtrack.music, nullptr);
  ASSERT_NE(soundtrack.mixer, nullptr);
  const List* bank = soundtrack.music->instruments;
  ASSERT_EQ(bank->count, 288);
  const char* families[3] = {"tonal", "low", "high"};
  const uint64_t family_want[3] = {0x95bb4853813841d5, 0x2400444462c03a74, 0x5f87fa2c8e42236b};
  // Instruments 0, 31, 64 and 95 of each family.
  const int32_t family_samples[3][4][8] = {
      {{0, -14778, -13445, 4161, -3122, 5376, 2462, 0},
       {0, 14777, 13443, -4162, 3120, -5378, -2463, 0},
       {0, -14778, -13445, 4161, -3122, 5376, 2462, 0},
       {0, -9289, -7741, 6191, -4645, 3095, 1547, 0}},
      {{7926, 9352, -3345, -3536, 2521, 473, -327, 0},
       {-6026, 3541, 2622, -215, -78, 50, 0, 0},
       {-698, -11677, -8650, -1426, 1025, 1304, 264, 0},
       {2820, 2499, 4667, 6061, 2937, 1039, 146, 0}},
      {{3275, 700, 148, -5, -2, 0, -1, 0},
       {-15462, -373, -216, -16, 0, 0, -1, 0},
       {-281, -2223, -253, -4, -1, 0, 0, 0},
       {1955, 101, 22, -4, 0, -1, -1, 0}},
  };
  for (int f = 0; f < 3; ++f) {
    const int32_t picks[4] = {0, 31, 64, 95};
    for (int j = 0; j < 4; ++j) {
      char what[48];
      std::snprintf(what, sizeof what, "%s instrument %d", families[f], picks[j]);
      expect_samples(what, static_cast<const Sample*>(list_get(bank, 96 * f + picks[j])), family_samples[f][j]);
    }
    uint64_t h = kFnvStart;
    for (int32_t k = 96 * f; k < 96 * (f + 1); ++k) h = fnv1a(h, static_cast<const Sample*>(list_get(bank, k)));
    expect_golden(families[f], h, family_want[f]);
  }

  // The intro's period: the first pattern comes on the 160th pump, then one every 160.
  soundtrack.music->period = 160;
  const int32_t frames[4] = {160, 161, 400, 1000};
  const int32_t mix_samples[4][8] = {
      {0, 0, 0, 0, 0, 0, 0, 0},
      {-232, 86, 0, 0, 0, 0, 0, -253},
      {-334, -69, 170, -86, 22, 11, -10, -267},
      {-737, -13, 771, -793, 251, -397, -198, -675},
  };
  const uint64_t mix_want[4] = {0x83b59721568b7325, 0x93517ae136e15633, 0x84a48379aa0a4753, 0x1612e32b46dca888};
  int32_t done = 0;
  for (int i = 0; i < 4; ++i) {
    while (done < frames[i]) {
      soundtrack_pump();
      ++done;
    }
    char what[32];
    std::snprintf(what, sizeof what, "mix after %d", frames[i]);
    expect_samples(what, soundtrack.mixer->output, mix_samples[i]);
    expect_golden(what, fnv1a(kFnvStart, soundtrack.mixer->output), mix_want[i]);
  }
  soundtrack_release();
}

}  // namespace
