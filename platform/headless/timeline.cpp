// The recorder's time line: integer arithmetic on samples only.
#include "platform/headless/timeline.h"

int64_t timeline_ms_samples(int64_t ms) { return (ms * kTimelineSampleRate + 500) / 1000; }

int64_t timeline_fade_offset(int64_t fade_samples, int64_t index) {
  const int64_t whole = index / kTimelineFadePresents;
  const int64_t part = index % kTimelineFadePresents;
  return whole * fade_samples + part * fade_samples / kTimelineFadePresents;
}

TimeSpan timeline_place(Timeline* t, PresentKind kind, int32_t frame_rate) {
  TimeSpan span{t->now, t->now};
  switch (kind) {
    case PresentKind::loading:
      span.end = span.start + kTimelineLoadingSamples;
      t->fade_index = 0;
      break;
    case PresentKind::frame:
      span.end = span.start + kTimelineSampleRate / (frame_rate > 0 ? frame_rate : kTimelineVideoRate);
      t->fade_index = 0;
      break;
    case PresentKind::fade: {
      // Offsets from the run's start, so that the shares of a fade add up to its length exactly.
      const int64_t run_start = span.start - timeline_fade_offset(t->fade_samples, t->fade_index);
      span.end = run_start + timeline_fade_offset(t->fade_samples, t->fade_index + 1);
      ++t->fade_index;
      break;
    }
  }
  t->now = span.end;
  return span;
}

int64_t timeline_video_frames_before(int64_t t) {
  return t <= 0 ? 0 : (t + kTimelineVideoFrame - 1) / kTimelineVideoFrame;
}

int64_t timeline_video_frames(TimeSpan span) {
  return timeline_video_frames_before(span.end) - timeline_video_frames_before(span.start);
}
