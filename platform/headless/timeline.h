// TIMELINE: the recorder's clock for a video, counted in sound samples (44100 per second) so that
// picture and sound share one integer time line that never drifts. Every present gets a span:
// the loading screen a nominal tenth of a second, a frame of the show's frame loop one period of
// the show's rate (882 samples at 50 per second, 1764 at 25), and each of the 256 presents of a
// fade-to-black an equal share of the fade's length. The video samples the pictures at 50 frames
// per second: video frame k shows the present whose span holds the instant k * 882.
#pragma once
#include <cstdint>

constexpr int32_t kTimelineSampleRate = 44100;
constexpr int32_t kTimelineVideoRate = 50;
constexpr int32_t kTimelineVideoFrame = kTimelineSampleRate / kTimelineVideoRate;   // 882 samples
constexpr int32_t kTimelineFadePresents = 256;
constexpr int64_t kTimelineLoadingSamples = kTimelineSampleRate / 10;

enum class PresentKind { loading, fade, frame };

struct Timeline {
  int64_t now = 0;              // start of the next present, samples
  int64_t fade_samples = 2205;  // length of one fade-to-black (256 presents), samples
  int64_t fade_index = 0;       // fade presents placed since the last frame or loading screen
};

struct TimeSpan {
  int64_t start;   // samples, inclusive
  int64_t end;     // samples, exclusive
};

// Samples in `ms` milliseconds, to the nearest sample.
int64_t timeline_ms_samples(int64_t ms);
// Start of fade present `index` (0 first) of a run, from the run's start; runs of more than 256
// presents are whole fades one after another.
int64_t timeline_fade_offset(int64_t fade_samples, int64_t index);
// Places the next present; frame_rate (frames per second, 1 .. 44100) counts for frames only.
TimeSpan timeline_place(Timeline* timeline, PresentKind kind, int32_t frame_rate);
// Video frames before `t`: the number of instants k * 882 with k >= 0 below t (t >= 0).
int64_t timeline_video_frames_before(int64_t t);
// Video frames showing a present of this span.
int64_t timeline_video_frames(TimeSpan span);
