// A guard against unnoticed changes of the sound: under one seed, hashes of the three instrument
// families and of the mix loop at chosen frames of the pump. The values were taken from this
// code once its samples had been checked against the recipes by hand and by an independent
// implementation. After an intended change of the sound, print the new values with
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
  for (int f = 0; f < 3; ++f) {
    uint64_t h = kFnvStart;
    for (int32_t k = 96 * f; k < 96 * (f + 1); ++k) h = fnv1a(h, static_cast<const Sample*>(list_get(bank, k)));
    expect_golden(families[f], h, family_want[f]);
  }

  // The intro's period: the first pattern comes on the 160th pump, then one every 160.
  soundtrack.music->period = 160;
  const int32_t frames[4] = {160, 161, 400, 1000};
  const uint64_t mix_want[4] = {0x83b59721568b7325, 0x93517ae136e15633, 0x84a48379aa0a4753, 0x1612e32b46dca888};
  int32_t done = 0;
  for (int i = 0; i < 4; ++i) {
    while (done < frames[i]) {
      soundtrack_pump();
      ++done;
    }
    char what[32];
    std::snprintf(what, sizeof what, "mix after %d", frames[i]);
    expect_golden(what, fnv1a(kFnvStart, soundtrack.mixer->output), mix_want[i]);
  }
  soundtrack_release();
}

}  // namespace
