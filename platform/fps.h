// FPS: holds the show to a target frame rate and counts frames (the animation clock).
// fps_begin / fps_end bracket a frame's work; fps_sleep sleeps out the rest of the period, to
// a deadline on a monotonic clock that advances one period a frame, so that the time outside
// the work and the sleeps' own lateness are made up and frames average the period exactly.
#pragma once
#include <cstdint>

struct Fps {
  int32_t target_rate;   // wanted frames per second (50 or 25)
  int32_t shown_rate;    // rate for display, set by fps_sleep
  int32_t sleep_us;      // last computed sleep; negative when the frame ran late
  double start_us;       // wall-clock time of creation, microseconds
  double begin_us;       // start of the current frame's work, since start_us
  double end_us;         // end of the current frame's work, since start_us
  double work_us;        // end_us - begin_us of the last frame
  int32_t frames;        // frames completed since creation
  double slot_us;        // monotonic start of the current frame's period; 0 before the first
};

double now_us();
Fps* fps_new();
void fps_free(Fps** fps);
void fps_begin(Fps* fps);
void fps_end(Fps* fps);
void fps_sleep(Fps* fps);
// The pacing arithmetic of fps_sleep without the sleep: sets sleep_us and shown_rate.
void fps_compute(Fps* fps);
// The deadline rule, on monotonic times in microseconds. A frame's period starts where the last
// one ended; a frame that begins more than a period after that (the first one, one after a
// scene change or a pause, or after a frame that ran late by more than a period) starts its
// period afresh, so lost time is not made up later.
void fps_slot_begin(Fps* fps, double now);
// Ends the current period: returns when the frame should end (sleep until then; at or before
// `now`, no sleep) and moves the period on by one.
double fps_slot_end(Fps* fps);
