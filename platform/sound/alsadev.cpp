// ALSADEV: ALSA playback fed by a thread of its own from the stream's ring.
#include "platform/sound/alsadev.h"

#include <alsa/asoundlib.h>
#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdlib>
#include <new>

#include "platform/sound/sndstream.h"

namespace {

constexpr unsigned kLatencyUs = 40000;   // device buffer asked for
constexpr int32_t kBlockBytes = 4096;    // the block answered to XSND: a frame at 25 or 50 fps

struct AlsaDev {
  SndDev base;   // first: the seam's header
  snd_pcm_t* pcm;
  SndStream* stream;
  int16_t* period_buffer;
  int32_t period;
  pthread_t feeder;
  bool feeding;
  std::atomic<bool> quit;
  std::atomic<bool> failed;
};

// ALSA reports to standard error by default; the show prints nothing about sound.
void quiet(const char*, int, const char*, int, const char*, ...) {}

constexpr int kMaxRecoveries = 50;   // device errors in a row before the sound is given up

void* feed(void* arg) {
  AlsaDev* d = static_cast<AlsaDev*>(arg);
  bool last = false;
  int errors = 0;
  while (!last) {
    last = d->quit.load(std::memory_order_acquire);
    if (last) sndstream_stop(d->stream);   // the final period fades out
    sndstream_pull(d->stream, d->period_buffer);
    int32_t done = 0;
    while (done < d->period) {
      const snd_pcm_sframes_t n =
          snd_pcm_writei(d->pcm, d->period_buffer + done, snd_pcm_uframes_t(d->period - done));
      if (n > 0) {
        errors = 0;
        done += int32_t(n);
        continue;
      }
      // The device ran dry (or was suspended) and lost what it held: start it again, drop the
      // rest of this period and fade the sound back in from silence.
      if ((n < 0 && snd_pcm_recover(d->pcm, int(n), 1) < 0) || ++errors > kMaxRecoveries) {
        d->failed.store(true);
        return nullptr;
      }
      sndstream_ramp_in(d->stream);
      break;
    }
  }
  return nullptr;
}

long alsa_write(SndDev* dev, const int16_t* samples, int32_t count) {
  AlsaDev* d = reinterpret_cast<AlsaDev*>(dev);
  if (d->failed.load(std::memory_order_relaxed)) return -1;
  return sndstream_push(d->stream, samples, count);
}

void alsa_free(AlsaDev* d) {
  if (d->feeding) {
    d->quit.store(true, std::memory_order_release);
    pthread_join(d->feeder, nullptr);
  }
  if (d->pcm) {
    // The feeder's last period faded out: let the device play it, then let go.
    if (d->feeding && !d->failed.load()) snd_pcm_drain(d->pcm);
    snd_pcm_close(d->pcm);
  }
  sndstream_free(&d->stream);
  std::free(d->period_buffer);
  std::free(d);
}

void alsa_close(SndDev* dev) { alsa_free(reinterpret_cast<AlsaDev*>(dev)); }

constexpr SndDevOps kAlsaOps = {"alsa", alsa_write, alsa_close};

}  // namespace

SndDev* alsadev_open_named(const char* name, SndDevAnswer* answer) {
  if (!name || !answer) return nullptr;
  snd_lib_error_set_handler(quiet);
  AlsaDev* d = static_cast<AlsaDev*>(std::calloc(1, sizeof(AlsaDev)));
  if (!d) return nullptr;
  new (&d->quit) std::atomic<bool>(false);
  new (&d->failed) std::atomic<bool>(false);
  d->base.ops = &kAlsaOps;
  // Opened without waiting for a busy device; the feeder then writes in blocking mode.
  if (snd_pcm_open(&d->pcm, name, SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
    d->pcm = nullptr;
    alsa_free(d);
    return nullptr;
  }
  snd_pcm_uframes_t buffer = 0, period = 0;
  if (snd_pcm_nonblock(d->pcm, 0) < 0 ||
      snd_pcm_set_params(d->pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1, SNDSTREAM_RATE, 1,
                         kLatencyUs) < 0 ||
      snd_pcm_get_params(d->pcm, &buffer, &period) < 0 || period < 1) {
    alsa_free(d);
    return nullptr;
  }
  d->period = int32_t(std::min<snd_pcm_uframes_t>(period, SNDSTREAM_CAPACITY / 4));
  d->stream = sndstream_new(d->period);
  d->period_buffer = static_cast<int16_t*>(std::calloc(size_t(d->period), sizeof(int16_t)));
  if (!d->stream || !d->period_buffer) {
    alsa_free(d);
    return nullptr;
  }
  if (pthread_create(&d->feeder, nullptr, feed, d) != 0) {
    alsa_free(d);
    return nullptr;
  }
  d->feeding = true;
  // The feeder must not wait behind other work, or the device runs dry. A real-time priority is
  // asked for where the system allows it; elsewhere the thread keeps the normal one. It spends
  // its time blocked in the device's write, and gives up after repeated errors, so it cannot
  // keep a processor to itself.
  sched_param priority = {};
  priority.sched_priority = 5;
  pthread_setschedparam(d->feeder, SCHED_FIFO, &priority);
  answer->rate = SNDSTREAM_RATE;
  answer->format = 16;
  answer->stereo = 0;
  answer->block_bytes = kBlockBytes;
  return &d->base;
}

SndDev* alsadev_open(const char*, SndDevAnswer* answer) { return alsadev_open_named("default", answer); }
