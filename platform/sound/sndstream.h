// SNDSTREAM: carries the show's blocks to a sound device that plays at its own clock. The frame
// loop pushes one block a frame; the device side pulls one device period at a time, from another
// thread. Between them a ring buffer, whose fill is held near a target by resampling each block
// by a ratio within +-0.5 % (dynamic rate control): frame jitter, a queue entry's short tail and
// the drift between the two clocks never empty the device. Where blocks stop coming (the fades
// and set-ups between scenes, the pause, the exit) the sound ramps down to silence over a few
// milliseconds, and it ramps up again once blocks have come back.
#pragma once
#include <atomic>
#include <cstdint>

struct SRC_STATE_tag;

constexpr int32_t SNDSTREAM_RATE = 44100;          // samples per second, both sides
constexpr double SNDSTREAM_MAX_SKEW = 0.005;       // largest change of rate: 0.5 %
constexpr int32_t SNDSTREAM_RAMP = 256;            // samples of a ramp to or from silence (5.8 ms)
constexpr int32_t SNDSTREAM_CAPACITY = 8192;       // ring samples (186 ms); a power of two
constexpr int32_t SNDSTREAM_MAX_BLOCK = 4096;      // largest block one push takes
// Most samples the ring holds, a block included (80 ms); with the device's own 40 ms the sound
// is at most 120 ms behind the picture.
constexpr int32_t SNDSTREAM_BUDGET = 3528;

// The rate controller: a proportional-integral loop from the ring's fill to the resampling ratio.
struct SndRate {
  double target;     // fill aimed at, samples
  double integral;   // the correction the loop has learned (the steady drift)
  double ratio;      // the last ratio: samples out per sample in, within 1 +- SNDSTREAM_MAX_SKEW
};

void sndrate_init(SndRate* r, double target);
// One block: `fill` is the ring's fill (samples) as the block arrives; returns the ratio to
// resample that block with.
double sndrate_step(SndRate* r, double fill);

// Gain of a ramp at step k of SNDSTREAM_RAMP, 16.16: 0 at k <= 0, 0x10000 at k >= SNDSTREAM_RAMP,
// rising smoothly (3t^2 - 2t^3) so neither end steps.
int32_t sndstream_ramp_gain(int32_t k);

struct SndStream {
  int16_t* ring;                  // SNDSTREAM_CAPACITY samples
  std::atomic<uint32_t> head;     // samples ever written (the frame loop's side)
  std::atomic<uint32_t> tail;     // samples ever taken (the device's side)
  std::atomic<int32_t> target;    // fill held just before a block arrives
  std::atomic<int32_t> restart;   // fill at which a stopped stream starts again
  int32_t recent[16];             // lengths of the last blocks: the longest is the frame's block
  int32_t recent_next;
  std::atomic<bool> playing;      // the device side is playing (not ramped down to silence)
  std::atomic<bool> stopping;     // ramp down at the next pull, whatever the fill
  int32_t period;                 // samples the device side pulls at a time
  int32_t ramp_in;                // samples played since the last start (ramping up below RAMP)
  SndRate rate;
  SRC_STATE_tag* resampler;
  float* in;                      // SNDSTREAM_MAX_BLOCK samples
  float* out;                     // room for a block at the highest ratio
  int16_t* staged;                // the resampled block as 16-bit samples
  int32_t out_capacity;
};

// period: samples the device side pulls at a time, 1 .. SNDSTREAM_CAPACITY / 4.
SndStream* sndstream_new(int32_t period);
void sndstream_free(SndStream** s);
// Frame loop: resamples `count` samples (at most SNDSTREAM_MAX_BLOCK) by the controller's ratio
// into the ring. Returns `count` (what the ring cannot hold is dropped), -1 on bad arguments.
int32_t sndstream_push(SndStream* s, const int16_t* block, int32_t count);
// Device side: fills `out` with `period` samples: the stream, a ramp, or silence.
void sndstream_pull(SndStream* s, int16_t* out);
// Makes the next pull ramp down to silence (the stream is ending).
void sndstream_stop(SndStream* s);
// Device side, after the device lost what it held: the next pulls ramp up from silence.
void sndstream_ramp_in(SndStream* s);
int32_t sndstream_fill(const SndStream* s);
