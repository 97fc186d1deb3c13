// The recorder's time line: fades sampled at the video's rate, 25 and 50 frames per second
// frames, and long runs that stay within one video frame of the sound.
#include "platform/headless/timeline.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

struct Placed {
  TimeSpan span;
  int64_t frames;
};

Placed place(Timeline* t, PresentKind kind, int32_t rate = 50) {
  const TimeSpan span = timeline_place(t, kind, rate);
  return {span, timeline_video_frames(span)};
}

}  // namespace

TEST(TimelineTest, MillisecondsToSamples) {
  const struct {
    int64_t ms, samples;
  } cases[] = {{0, 0}, {1, 44}, {50, 2205}, {1000, 44100}, {3600000, 158760000}};
  for (const auto& c : cases) EXPECT_EQ(timeline_ms_samples(c.ms), c.samples) << c.ms << " ms";
}

// The 256 presents of a fade share its length exactly, in order, whole fades following on.
TEST(TimelineTest, FadeSharesAddUpToTheFade) {
  for (const int64_t fade : {int64_t(0), int64_t(1), int64_t(255), int64_t(2205), int64_t(44100), int64_t(65537)}) {
    int64_t previous = 0;
    for (int64_t i = 0; i <= 3 * 256; ++i) {
      const int64_t offset = timeline_fade_offset(fade, i);
      ASSERT_GE(offset, previous) << "fade " << fade << " present " << i;
      previous = offset;
      if (i % 256 == 0) {
        ASSERT_EQ(offset, i / 256 * fade) << "fade " << fade << " present " << i;
      }
    }
  }
}

// The loading screen (0.1 s = 5 video frames), then a fade of 50 ms: 256 presents over 2.5 video
// frames, of which the ones holding the instants 4410, 5292 and 6174 are shown: present i starts
// at 4410 + floor(i * 2205 / 256), so 102 (start 5288) holds 5292 and 204 (start 6167) holds 6174.
TEST(TimelineTest, LoadingScreenAndFadeSampledAtFiftyPerSecond) {
  Timeline t;
  t.fade_samples = timeline_ms_samples(50);
  const Placed loading = place(&t, PresentKind::loading);
  EXPECT_EQ(loading.span.start, 0);
  EXPECT_EQ(loading.span.end, 4410);
  EXPECT_EQ(loading.frames, 5);
  std::vector<int> shown;
  for (int i = 0; i < 256; ++i) {
    const Placed p = place(&t, PresentKind::fade);
    for (int64_t k = 0; k < p.frames; ++k) shown.push_back(i);
  }
  EXPECT_EQ(t.now, 4410 + 2205);
  EXPECT_EQ(shown, (std::vector<int>{0, 102, 204}));
}

// A frame lasts one period of the show's rate: shown once at 50, twice at 25, wherever it starts.
TEST(TimelineTest, FramesAtFiftyAndTwentyFive) {
  const struct {
    int32_t rate;
    int64_t samples, frames;
  } cases[] = {{50, 882, 1}, {25, 1764, 2}};
  for (const auto& c : cases) {
    for (const int64_t start : {int64_t(0), int64_t(1), int64_t(441), int64_t(881), int64_t(6615)}) {
      Timeline t;
      t.now = start;
      const Placed p = place(&t, PresentKind::frame, c.rate);
      EXPECT_EQ(p.span.end - p.span.start, c.samples) << c.rate << " at " << start;
      EXPECT_EQ(p.frames, c.frames) << c.rate << " at " << start;
    }
  }
}

// A frame between two fade runs starts a new run: the second fade lasts its whole length again.
TEST(TimelineTest, FrameRestartsTheFadeRun) {
  Timeline t;
  t.fade_samples = 1000;
  for (int i = 0; i < 100; ++i) place(&t, PresentKind::fade);
  place(&t, PresentKind::frame);
  const int64_t start = t.now;
  for (int i = 0; i < 256; ++i) place(&t, PresentKind::fade);
  EXPECT_EQ(t.now - start, 1000);
}

// Hours of show: frames at both rates, fades of odd lengths. The video frames handed out always
// equal the frames before the time line's end, so the picture ends less than one video frame
// (882 samples) after the sound, however long the run.
TEST(TimelineTest, LongRunsStayWithinOneVideoFrame) {
  Timeline t;
  t.fade_samples = timeline_ms_samples(37);   // 1632 samples: no whole number of video frames
  int64_t video_frames = place(&t, PresentKind::loading).frames;
  int64_t sound_samples = kTimelineLoadingSamples;
  const int64_t hours = 3;
  int scene = 0;
  while (t.now < hours * 3600 * kTimelineSampleRate) {
    for (int i = 0; i < 512; ++i) {
      const Placed p = place(&t, PresentKind::fade);
      video_frames += p.frames;
      sound_samples += p.span.end - p.span.start;
    }
    const int32_t rate = scene % 3 == 0 ? 25 : 50;
    for (int i = 0; i < 750; ++i) {
      const Placed p = place(&t, PresentKind::frame, rate);
      video_frames += p.frames;
      sound_samples += p.span.end - p.span.start;
    }
    ++scene;
    ASSERT_EQ(video_frames, timeline_video_frames_before(t.now));
    ASSERT_EQ(sound_samples, t.now);
    const int64_t picture_end = video_frames * kTimelineVideoFrame;
    ASSERT_GE(picture_end, sound_samples);
    ASSERT_LT(picture_end - sound_samples, kTimelineVideoFrame);
  }
}
