// SNDSTREAM: the ring between the frame loop and the device, its rate control and its ramps.
#include "platform/sound/sndstream.h"

#include <samplerate.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

namespace {

// Loop gains per block. The proportional part answers a change of fill within about a second;
// the integral part learns a steady difference between supply and playback (the frame clock
// against the device clock, the short tail of every pass through the loop) within a few seconds.
constexpr double kProportional = 0.02;
constexpr double kIntegral = 0.0004;

constexpr uint32_t kMask = uint32_t(SNDSTREAM_CAPACITY - 1);

double clamp_skew(double v) { return std::clamp(v, -SNDSTREAM_MAX_SKEW, SNDSTREAM_MAX_SKEW); }

int16_t to_sample(float v) {
  const float scaled = std::nearbyint(v * 32768.0f);
  return int16_t(std::clamp(scaled, -32768.0f, 32767.0f));
}

// Just before a block arrives the ring holds the target: a device period, a ramp's worth to fade
// out on should the blocks stop, and the rest of the budget as the margin for late frames (31 ms
// at 50 frames per second, 11 ms at 25). The budget also leaves room for the fill's swing over a
// pass through the mix loop, whose last block is 524 samples short: the controller makes that
// up over the pass, so the fill rises and falls by about 262 around the target. After a pause
// playback starts once a block more than the target is there, so that the fill before the next
// block is the target again.
constexpr int32_t kSwing = 320;

void set_targets(SndStream* s, int32_t block) {
  const int32_t least = s->period + SNDSTREAM_RAMP + kSwing;
  const int32_t target = std::max(least, SNDSTREAM_BUDGET - block - kSwing);
  s->target.store(target, std::memory_order_relaxed);
  s->restart.store(std::min(target + block, SNDSTREAM_CAPACITY - SNDSTREAM_MAX_BLOCK), std::memory_order_relaxed);
  s->rate.target = target;
}

int32_t fill_of(const SndStream* s) {
  return int32_t(s->head.load(std::memory_order_acquire) - s->tail.load(std::memory_order_acquire));
}


}  // namespace

void sndrate_init(SndRate* r, double target) {
  if (!r) return;
  r->target = target > 1 ? target : 1;
  r->integral = 0;
  r->ratio = 1;
}

double sndrate_step(SndRate* r, double fill) {
  if (!r) return 1;
  const double error = (r->target - fill) / r->target;   // > 0: too little buffered, play slower
  r->integral = clamp_skew(r->integral + kIntegral * error);
  r->ratio = 1 + clamp_skew(kProportional * error + r->integral);
  return r->ratio;
}

int32_t sndstream_ramp_gain(int32_t k) {
  if (k <= 0) return 0;
  if (k >= SNDSTREAM_RAMP) return 0x10000;
  const int64_t n = SNDSTREAM_RAMP;
  const int64_t kk = k;
  return int32_t((3 * kk * kk * n - 2 * kk * kk * kk) * 0x10000 / (n * n * n));
}

SndStream* sndstream_new(int32_t period) {
  if (period < 1 || period > SNDSTREAM_CAPACITY / 4) return nullptr;
  SndStream* s = static_cast<SndStream*>(std::calloc(1, sizeof(SndStream)));
  if (!s) return nullptr;
  new (&s->head) std::atomic<uint32_t>(0);
  new (&s->tail) std::atomic<uint32_t>(0);
  new (&s->playing) std::atomic<bool>(false);
  new (&s->stopping) std::atomic<bool>(false);
  new (&s->target) std::atomic<int32_t>(0);
  new (&s->restart) std::atomic<int32_t>(0);
  s->period = period;
  s->out_capacity = int32_t(SNDSTREAM_MAX_BLOCK * (1 + SNDSTREAM_MAX_SKEW)) + 64;
  s->ring = static_cast<int16_t*>(std::calloc(SNDSTREAM_CAPACITY, sizeof(int16_t)));
  s->in = static_cast<float*>(std::calloc(SNDSTREAM_MAX_BLOCK, sizeof(float)));
  s->out = static_cast<float*>(std::calloc(size_t(s->out_capacity), sizeof(float)));
  s->staged = static_cast<int16_t*>(std::calloc(size_t(s->out_capacity), sizeof(int16_t)));
  int error = 0;
  s->resampler = src_new(SRC_SINC_FASTEST, 1, &error);
  if (!s->ring || !s->in || !s->out || !s->staged || !s->resampler) {
    sndstream_free(&s);
    return nullptr;
  }
  sndrate_init(&s->rate, 1);
  set_targets(s, 882);
  return s;
}

void sndstream_free(SndStream** s) {
  if (!s || !*s) return;
  SndStream* p = *s;
  if (p->resampler) src_delete(p->resampler);
  std::free(p->ring);
  std::free(p->in);
  std::free(p->out);
  std::free(p->staged);
  std::free(p);
  *s = nullptr;
}

int32_t sndstream_push(SndStream* s, const int16_t* block, int32_t count) {
  if (!s || count < 0 || count > SNDSTREAM_MAX_BLOCK || (count > 0 && !block)) return -1;
  if (count == 0) return 0;

  // The frame's block is the longest of the recent ones (a queue entry's tail is shorter).
  s->recent[s->recent_next] = count;
  s->recent_next = (s->recent_next + 1) % 16;
  set_targets(s, *std::max_element(s->recent, s->recent + 16));

  // While the device side waits for the ring to fill again the loop stands still: that fill says
  // nothing about the two clocks.
  const int32_t fill = fill_of(s);
  const double ratio = s->playing.load(std::memory_order_acquire) ? sndrate_step(&s->rate, fill)
                                                                  : 1 + s->rate.integral;

  for (int32_t i = 0; i < count; ++i) s->in[i] = float(block[i]) * (1.0f / 32768.0f);
  SRC_DATA data = {};
  data.data_in = s->in;
  data.input_frames = count;
  data.data_out = s->out;
  data.output_frames = s->out_capacity;
  data.src_ratio = ratio;
  data.end_of_input = 0;
  if (src_process(s->resampler, &data) != 0) return count;
  const int32_t made = int32_t(data.output_frames_gen);
  for (int32_t i = 0; i < made; ++i) s->staged[i] = to_sample(s->out[i]);

  // Only the frame loop moves the head; what does not fit is dropped.
  const uint32_t head = s->head.load(std::memory_order_relaxed);
  const int32_t room = SNDSTREAM_CAPACITY - fill_of(s);
  const int32_t n = std::min(made, room);
  for (int32_t i = 0; i < n; ++i) s->ring[(head + uint32_t(i)) & kMask] = s->staged[i];
  s->head.store(head + uint32_t(n), std::memory_order_release);
  return count;
}

void sndstream_pull(SndStream* s, int16_t* out) {
  if (!s || !out) return;
  const int32_t period = s->period;
  uint32_t tail = s->tail.load(std::memory_order_relaxed);
  const uint32_t head = s->head.load(std::memory_order_acquire);
  int32_t fill = int32_t(head - tail);
  // A ring this full has been dropping blocks: the device stood still (its first start, or a
  // stall). What it holds is old; the sound fades out and starts afresh from new blocks.
  const bool overflowing = fill > SNDSTREAM_CAPACITY - SNDSTREAM_MAX_BLOCK;
  const bool stopping = s->stopping.exchange(false) || overflowing;

  if (!s->playing.load(std::memory_order_relaxed)) {
    const int32_t restart = s->restart.load(std::memory_order_relaxed);
    if (stopping || fill < restart) {
      if (overflowing) s->tail.store(head, std::memory_order_release);
      std::fill(out, out + period, int16_t(0));
      return;
    }
    // Start from the newest samples: the fill is the restart level, not what piled up.
    tail = head - uint32_t(restart);
    fill = restart;
    s->ramp_in = 0;
    s->playing.store(true, std::memory_order_release);
  }

  // Playing on needs a whole period and a ramp's worth after it: then, should the blocks stop,
  // the next pull still has a ramp's worth to fade out on.
  const bool starving = stopping || fill < period + SNDSTREAM_RAMP;
  const int32_t n = std::min(fill, period);
  for (int32_t i = 0; i < n; ++i) {
    int32_t v = s->ring[(tail + uint32_t(i)) & kMask];
    if (s->ramp_in < SNDSTREAM_RAMP) v = int32_t((int64_t(v) * sndstream_ramp_gain(s->ramp_in)) >> 16);
    if (s->ramp_in < SNDSTREAM_RAMP) ++s->ramp_in;
    out[i] = int16_t(v);
  }
  if (!starving) {
    s->tail.store(tail + uint32_t(n), std::memory_order_release);
    return;
  }
  // Fade the last samples out to exactly 0, then silence; what is left in the ring is stale by
  // the time blocks come again, so it goes.
  const int32_t r = std::min(n, SNDSTREAM_RAMP);
  for (int32_t j = 0; j < r; ++j) {
    const int32_t k = int32_t(int64_t(r - 1 - j) * SNDSTREAM_RAMP / r);
    int16_t& v = out[n - r + j];
    v = int16_t((int64_t(v) * sndstream_ramp_gain(k)) >> 16);
  }
  std::fill(out + n, out + period, int16_t(0));
  s->tail.store(head, std::memory_order_release);
  s->playing.store(false, std::memory_order_release);
}

void sndstream_stop(SndStream* s) {
  if (s) s->stopping.store(true);
}

void sndstream_ramp_in(SndStream* s) {
  if (s) s->ramp_in = 0;
}

int32_t sndstream_fill(const SndStream* s) { return s ? fill_of(s) : 0; }
