// The soundtrack pump over the fake sound device of xsnd_test.cpp: instrument bank, voice
// replacement on pattern frames, the queue of references to the live mix, exact samples sent.
#include "audio/soundtrack.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "audio/list.h"
#include "audio/music.h"
#include "audio/sample.h"
#include "audio/soundmix.h"
#include "audio/xsnd.h"

// The fake device (defined in xsnd_test.cpp).
void fake_dsp_reset(int block_bytes);
void fake_dsp_make_missing();
std::vector<int16_t> fake_dsp_samples();
std::size_t fake_dsp_writes();

namespace {

int16_t wire(int32_t v) { return int16_t(uint16_t(uint32_t(v))); }

// One voice's share of a mix: (v * 0x10000) >> 16 as a wrapping product, i.e. its low half word.
int32_t scaled(int32_t v) { return int32_t(uint32_t(v) * 0x10000u) >> 16; }

std::vector<Sample*> voices_now() {
  std::vector<Sample*> v;
  List* voices = soundtrack.mixer->voices;
  for (int32_t i = 0; i < voices->count; ++i) v.push_back(static_cast<Sample*>(list_get(voices, i)));
  return v;
}

// The bank is synthesised once for the whole suite; each test gets fresh voices, output,
// sequencer clock and stream.
class SoundtrackTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    srand(5);
    fake_dsp_reset(1764);
    soundtrack.stream = nullptr;
    soundtrack_init();
  }
  static void TearDownTestSuite() { soundtrack_release(); }

  void SetUp() override {
    ASSERT_NE(soundtrack.music, nullptr);
    ASSERT_NE(soundtrack.mixer, nullptr);
    Music* music = soundtrack.music;
    music->countdown = 0;
    music->period = MUSIC_PERIOD;
    SoundMix* mixer = soundtrack.mixer;
    for (int32_t i = 0; i < mixer->voices->count; ++i) {
      Sample* v = static_cast<Sample*>(list_get(mixer->voices, i));
      sample_set_length(v, 0);
      sample_set(mixer->volumes, i, 0x10000);
    }
    sample_clear(mixer->output);
    fake_dsp_reset(1764);
  }
  void TearDown() override {
    if (soundtrack.stream) xsnd_free(&soundtrack.stream);
  }
};

TEST_F(SoundtrackTest, InitBuildsTheBankAndTheMix) {
  Music* music = soundtrack.music;
  ASSERT_NE(music->instruments, nullptr);
  ASSERT_EQ(music->instruments->count, 288);
  for (int32_t k : {0, 95}) {
    EXPECT_EQ(static_cast<Sample*>(list_get(music->instruments, k))->length, 44100) << k;
  }
  for (int32_t k : {96, 191, 192, 287}) {
    EXPECT_EQ(static_cast<Sample*>(list_get(music->instruments, k))->length, 22050) << k;
  }
  // The tonal family repeats after 48 notes.
  const Sample* a = static_cast<Sample*>(list_get(music->instruments, 7));
  const Sample* b = static_cast<Sample*>(list_get(music->instruments, 55));
  for (int32_t i = 0; i < 44100; i += 97) ASSERT_EQ(a->data[i], b->data[i]) << i;
  EXPECT_EQ(music->period, 300);
  SoundMix* mixer = soundtrack.mixer;
  ASSERT_EQ(mixer->voices->count, 16);
  for (Sample* v : voices_now()) EXPECT_EQ(v->length, 0);
  EXPECT_EQ(mixer->output->length, 160000);
  ASSERT_NE(soundtrack.scratch, nullptr);
  EXPECT_EQ(soundtrack.scratch->length, 22050);
}

// Period 2: frames 2 and 4 make patterns. The draws after a reseed are, in order, the six of
// each pattern and then the voice index, so they can be replayed here.
TEST_F(SoundtrackTest, PatternFramesReplaceOneVoiceAndTheMixIsSentLive) {
  soundtrack.stream = xsnd_new();
  ASSERT_NE(soundtrack.stream, nullptr);
  soundtrack.music->period = 2;
  srand(77);

  soundtrack_pump();   // frame 1: no pattern, silence
  const std::vector<Sample*> before = voices_now();
  soundtrack_pump();   // frame 2: pattern one, voice k1
  ASSERT_NE(soundtrack.music->pattern, nullptr);
  Sample* first = sample_clone(soundtrack.music->pattern);
  const std::vector<Sample*> after = voices_now();

  srand(77);
  for (int i = 0; i < 6; ++i) rand();
  const int k1 = rand() % 16;
  for (int i = 0; i < 16; ++i) {
    if (i == k1) continue;
    EXPECT_EQ(after[size_t(i)], before[size_t(i)]) << "voice " << i << " changed";
  }
  Sample* voice = after[size_t(k1)];
  ASSERT_NE(voice, before[size_t(k1)]);
  ASSERT_NE(voice, soundtrack.music->pattern);   // a copy, not the music's own pattern
  ASSERT_EQ(voice->length, 160000);
  EXPECT_EQ(sample_get(soundtrack.mixer->volumes, k1), 0x10000);
  int32_t loud = 0;
  for (int32_t i = 0; i < 160000; ++i) {
    ASSERT_EQ(voice->data[i], first->data[i]) << i;
    loud = std::max(loud, std::abs(first->data[i]));
  }
  EXPECT_GT(loud, 1000);

  soundtrack_pump();   // frame 3: the new voice enters at 1/16
  soundtrack_pump();   // frame 4: pattern two into voice k2; the mix is still of voice k1 alone
  srand(77);
  for (int i = 0; i < 13; ++i) rand();
  const int k2 = rand() % 16;
  const std::vector<Sample*> last = voices_now();
  if (k2 != k1) {
    EXPECT_EQ(last[size_t(k1)], voice);
  }
  EXPECT_EQ(last[size_t(k2)]->length, 160000);

  // Four blocks of 882, each taken from the mix of its own frame at the running position.
  const std::vector<int16_t> sent = fake_dsp_samples();
  ASSERT_EQ(sent.size(), 4u * 882);
  for (int32_t j = 0; j < 2 * 882; ++j) ASSERT_EQ(sent[size_t(j)], 0) << j;
  for (int32_t j = 2 * 882; j < 3 * 882; ++j) {
    const int32_t mix3 = scaled(first->data[j]) / 16;
    ASSERT_EQ(sent[size_t(j)], wire(mix3)) << j;
  }
  for (int32_t j = 3 * 882; j < 4 * 882; ++j) {
    const int32_t mix3 = scaled(first->data[j]) / 16;
    const int32_t mix4 = (mix3 + scaled(first->data[j])) / 16;
    ASSERT_EQ(sent[size_t(j)], wire(mix4)) << j;
  }
  EXPECT_EQ(soundtrack.stream->pending->count, 4);
  EXPECT_EQ(soundtrack.stream->current, soundtrack.mixer->output);
  EXPECT_EQ(soundtrack.stream->position, 4 * 882);
  sample_free(&first);
}

TEST_F(SoundtrackTest, VoicesChangeOnlyOnPatternFrames) {
  soundtrack.stream = xsnd_new();
  soundtrack.music->period = 3;
  std::vector<Sample*> prev = voices_now();
  for (int frame = 1; frame <= 13; ++frame) {
    soundtrack_pump();
    const std::vector<Sample*> now = voices_now();
    int changed = 0;
    for (size_t i = 0; i < now.size(); ++i) changed += now[i] != prev[i];
    EXPECT_EQ(changed, frame % 3 == 0 ? 1 : 0) << "frame " << frame;
    EXPECT_EQ(soundtrack.music->countdown == 0, frame % 3 == 0) << "frame " << frame;
    EXPECT_LE(soundtrack.stream->pending->count, 4);
    prev = now;
  }
  // One block a frame, the queue topped up to four references to the one mix buffer.
  EXPECT_EQ(fake_dsp_writes(), 13u);
  List* pending = soundtrack.stream->pending;
  EXPECT_EQ(pending->count, 4);
  for (int32_t i = 0; i < pending->count; ++i) EXPECT_EQ(list_get(pending, i), soundtrack.mixer->output);
}

// A queue entry that finishes is replaced on the next frame: the loop is sent end to end.
TEST_F(SoundtrackTest, TheLoopIsSentAgainAndAgain) {
  soundtrack.stream = xsnd_new();
  XSnd* stream = soundtrack.stream;
  for (int frame = 0; frame < 182; ++frame) {
    soundtrack_pump();
    ASSERT_LE(stream->pending->count, 4) << "frame " << frame;
  }
  // 181 whole blocks reach 159642; the 358-sample tail goes out alone and ends the entry.
  EXPECT_EQ(stream->written, 181 * 882 + 358);
  EXPECT_EQ(stream->position, 0);
  EXPECT_EQ(stream->pending->count, 3);
  soundtrack_pump();
  EXPECT_EQ(stream->pending->count, 4);
  EXPECT_EQ(stream->position, 882);
  EXPECT_EQ(stream->written, 182 * 882 + 358);
}

TEST_F(SoundtrackTest, WithoutAWorkingDeviceTheQueueStaysAtFour) {
  fake_dsp_make_missing();
  soundtrack.stream = xsnd_new();
  ASSERT_NE(soundtrack.stream, nullptr);
  soundtrack.music->period = 4;
  for (int frame = 0; frame < 10; ++frame) soundtrack_pump();
  EXPECT_EQ(soundtrack.stream->pending->count, 4);
  EXPECT_EQ(fake_dsp_writes(), 0u);
  int filled = 0;   // the music still runs
  for (Sample* v : voices_now()) filled += v->length == 160000;
  EXPECT_GE(filled, 1);
}

TEST_F(SoundtrackTest, WithoutAStreamTheMusicStillRuns) {
  soundtrack.stream = nullptr;
  soundtrack.music->period = 2;
  for (int frame = 0; frame < 3; ++frame) soundtrack_pump();
  EXPECT_EQ(fake_dsp_writes(), 0u);
  int filled = 0;
  for (Sample* v : voices_now()) filled += v->length == 160000;
  EXPECT_EQ(filled, 1);
  // The voice entered the mix on frame 3.
  int32_t loud = 0;
  for (int32_t i = 0; i < 160000; ++i) loud = std::max(loud, std::abs(soundtrack.mixer->output->data[i]));
  EXPECT_GT(loud, 0);
}

}  // namespace
