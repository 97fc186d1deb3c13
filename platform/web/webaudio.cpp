// The sound output of the web page: finished blocks are posted to the page's audio worklet,
// which plays them at the audio context's clock through its own rate-controlled queue (see
// index.html). The context exists only after the viewer's first click or key; without it the
// show runs silently.
#include <emscripten.h>

#include <cstdint>
#include <cstdlib>

#include "platform/platform.h"

namespace {

constexpr int32_t kBlockSamples = 882;   // one frame at 50 per second

EM_JS(int, web_audio_ready, (), { return Module['kromAudio'] ? 1 : 0; });

EM_JS(void, web_audio_post, (const int16_t* samples, int32_t count), {
  const audio = Module['kromAudio'];
  if (!audio) return;
  const block = new Float32Array(count);
  const src = HEAP16.subarray(samples >> 1, (samples >> 1) + count);
  for (let i = 0; i < count; i++) block[i] = src[i] / 32768;
  audio.post(block);
  // The test hook: every block as written, to be compared with the recorder's sound.
  const log = Module['kromSoundLog'];
  if (log) log.push(Int16Array.from(src));
});

long web_write(SndDev*, const int16_t* samples, int32_t count) {
  if (count > 0) web_audio_post(samples, count);
  return count;
}

void web_close(SndDev* dev) { std::free(dev); }

constexpr SndDevOps kOps = {"webaudio", web_write, web_close};

}  // namespace

SndDev* snddev_open(const char*, SndDevAnswer* answer) {
  if (!answer || !web_audio_ready()) return nullptr;
  SndDev* dev = static_cast<SndDev*>(std::calloc(1, sizeof(SndDev)));
  if (!dev) return nullptr;
  dev->ops = &kOps;
  answer->rate = 44100;
  answer->format = 16;
  answer->stereo = 0;
  answer->block_bytes = kBlockSamples * 2;
  return dev;
}
