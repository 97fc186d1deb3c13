// Choosing the sound backend: the first that opens, in order; silence when none does.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "platform/ossdev.h"
#include "platform/platform.h"
#include "platform/sound/alsadev.h"

namespace {

struct Named {
  SndDev base;
};
long named_write(SndDev*, const int16_t*, int32_t count) { return count; }
void named_close(SndDev* dev) { delete reinterpret_cast<Named*>(dev); }
constexpr SndDevOps kOssLike = {"oss", named_write, named_close};
constexpr SndDevOps kAlsaLike = {"alsa", named_write, named_close};

bool oss_present = false, alsa_present = false;
SndDev* fake_oss(const char*, SndDevAnswer* a) {
  if (!oss_present) return nullptr;
  a->block_bytes = 1764;
  return &(new Named{{&kOssLike}})->base;
}
SndDev* fake_alsa(const char*, SndDevAnswer* a) {
  if (!alsa_present) return nullptr;
  a->block_bytes = 4096;
  return &(new Named{{&kAlsaLike}})->base;
}

TEST(SndDevChoice, FirstBackendThatOpens) {
  const SndDevOpen order[] = {fake_oss, fake_alsa};
  struct Case {
    bool oss, alsa;
    const char* chosen;   // null: silent
    int32_t block_bytes;
  };
  const Case cases[] = {
      {true, true, "oss", 1764}, {true, false, "oss", 1764}, {false, true, "alsa", 4096}, {false, false, nullptr, 0}};
  for (const Case& c : cases) {
    oss_present = c.oss;
    alsa_present = c.alsa;
    SndDevAnswer answer = {44100, 16, 0, 0};
    SndDev* dev = snddev_open_first(order, 2, "/dev/dsp", &answer);
    if (!c.chosen) {
      EXPECT_EQ(dev, nullptr);
      EXPECT_EQ(answer.block_bytes, 0) << "a failed backend changed the answer";
      continue;
    }
    ASSERT_NE(dev, nullptr);
    EXPECT_STREQ(dev->ops->name, c.chosen);
    EXPECT_EQ(answer.block_bytes, c.block_bytes);
    const int16_t block[3] = {1, 2, 3};
    EXPECT_EQ(snddev_write(dev, block, 3), 3);
    snddev_close(&dev);
    EXPECT_EQ(dev, nullptr);
  }
  EXPECT_EQ(snddev_write(nullptr, nullptr, 0), -1);
  SndDev* none = nullptr;
  snddev_close(&none);
  snddev_close(nullptr);
}

// The real backends on devices that are not there: null, and nothing printed.
TEST(SndDevChoice, MissingRealDevicesOpenNothingSilently) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  SndDevAnswer answer = {44100, 16, 0, 0};
  EXPECT_EQ(ossdev_open("/nonexistent/dsp", &answer), nullptr);
  EXPECT_EQ(alsadev_open_named("krom7316_no_such_device", &answer), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(answer.block_bytes, 0);
}

}  // namespace
