// FPS: frame pacing and the frame counter. Times are microseconds in double precision so that
// differences stay exact for the life of the process.
#include "platform/fps.h"

#include <sys/time.h>

#include <cstdint>
#include <cstdlib>

#include "image/ident.h"
#include "platform/platform.h"

namespace {
[[gnu::used]] constexpr Identity kIdentity = {"FPS     ", "20150812", "Kelvardo", "LINUX   ", "CODE    "};
}  // namespace

double now_us() {
  timeval tv;
  gettimeofday(&tv, nullptr);
  return double(tv.tv_sec) * 1000000.0 + double(tv.tv_usec);
}

Fps* fps_new() {
  Fps* fps = static_cast<Fps*>(std::calloc(1, sizeof(Fps)));
  if (!fps) return nullptr;   // the pacer's error routine prints nothing
  fps->start_us = now_us();
  return fps;
}

void fps_free(Fps** fps) {
  if (!fps || !*fps) return;
  std::free(*fps);
  *fps = nullptr;
}

void fps_begin(Fps* fps) {
  if (!fps) return;
  fps->begin_us = now_us() - fps->start_us;
  fps_slot_begin(fps, platform_clock_us());
}

void fps_end(Fps* fps) {
  if (!fps) return;
  fps->frames += 1;
  fps->end_us = now_us() - fps->start_us;
  fps->work_us = fps->end_us - fps->begin_us;
  platform_frame_done(fps);
}

void fps_compute(Fps* fps) {
  if (!fps) return;
  // A zero or negative target would divide by zero: treat it as no pacing at all.
  const int32_t period = fps->target_rate > 0 ? 1000000 / fps->target_rate : 0;
  // Truncated towards zero; a frame of over half an hour is held to the integer range rather
  // than converted out of it. The clock is the wall clock: when it steps backwards during a
  // frame the work comes out negative, and that frame counts as no work at all, so the sleep
  // stays within one period (instead of sleeping out the step) and the difference cannot
  // overflow.
  const double w = fps->work_us;
  const int32_t work = w >= 2147483647.0 ? 2147483647 : (w <= 0.0 ? 0 : int32_t(w));
  fps->sleep_us = period - work;
  if (fps->sleep_us >= 0) {
    fps->shown_rate = fps->target_rate;
  } else {
    fps->shown_rate = work > 0 ? 1000000 / work : fps->target_rate;
  }
}

namespace {
double period_us(const Fps* fps) { return fps->target_rate > 0 ? double(1000000 / fps->target_rate) : 0.0; }
}  // namespace

void fps_slot_begin(Fps* fps, double now) {
  if (!fps) return;
  if (fps->slot_us <= 0 || now > fps->slot_us + period_us(fps) || now < fps->slot_us - period_us(fps)) {
    fps->slot_us = now;
  }
}

double fps_slot_end(Fps* fps) {
  if (!fps) return 0;
  fps->slot_us += period_us(fps);
  return fps->slot_us;
}

void fps_sleep(Fps* fps) {
  if (!fps) return;
  fps_compute(fps);
  const double deadline = fps_slot_end(fps);
  if (deadline > platform_clock_us()) platform_sleep_until_us(deadline);
}
