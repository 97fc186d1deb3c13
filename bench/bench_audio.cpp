// Audio costs: the start-up synthesis of the bank, one frame of mixing, one new pattern.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>

#include "audio/list.h"
#include "audio/music.h"
#include "audio/sample.h"
#include "audio/sound.h"
#include "audio/soundmix.h"
#include "audio/soundtrack.h"
#include "audio/xsnd.h"

namespace {

// All 288 instruments in start-up order, with the scratch buffer the soundtrack keeps.
void BM_SynthesiseBank(benchmark::State& state) {
  for (auto _ : state) {
    std::srand(1);
    Sample* h = sample_new();
    Music* m = music_new();
    for (int32_t k = 0; k < SOUND_INSTRUMENTS; ++k) music_add_instrument(m, sound_instrument(h, k));
    benchmark::DoNotOptimize(m->instruments->count);
    music_free(&m);
    sample_free(&h);
  }
}
BENCHMARK(BM_SynthesiseBank)->Unit(benchmark::kMillisecond);

// Sixteen full voices of the 160000-sample loop, as in the running show.
SoundMix* full_mixer() {
  SoundMix* x = soundmix_new();
  sample_set_length(x->output, MUSIC_LOOP_LENGTH);
  std::srand(2);
  for (int32_t k = 0; k < SOUNDMIX_VOICES; ++k) {
    Sample* v = static_cast<Sample*>(list_get(x->voices, k));
    sample_set_length(v, MUSIC_LOOP_LENGTH);
    for (int32_t j = 0; j < MUSIC_LOOP_LENGTH; ++j) v->data[j] = (std::rand() & 0xFFFF) - 32768;
  }
  return x;
}

template <void (*Mix)(SoundMix*)>
void BM_Mix(benchmark::State& state) {
  SoundMix* x = full_mixer();
  for (auto _ : state) {
    Mix(x);
    benchmark::DoNotOptimize(x->output->data[0]);
  }
  state.SetItemsProcessed(state.iterations() * SOUNDMIX_VOICES * MUSIC_LOOP_LENGTH);
  soundmix_free(&x);
}
BENCHMARK(BM_Mix<soundmix_mix>)->Name("BM_MixFrame")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Mix<soundmix_mix_reference>)->Name("BM_MixFrameReference")->Unit(benchmark::kMicrosecond);

// One new pattern over the full bank; the draws vary, so this averages over repeat counts.
void BM_NewPattern(benchmark::State& state) {
  std::srand(3);
  Sample* h = sample_new();
  Music* m = music_new();
  for (int32_t k = 0; k < SOUND_INSTRUMENTS; ++k) music_add_instrument(m, sound_instrument(h, k));
  for (auto _ : state) {
    music_new_pattern(m);
    benchmark::DoNotOptimize(m->pattern->data[0]);
  }
  music_free(&m);
  sample_free(&h);
}
BENCHMARK(BM_NewPattern)->Unit(benchmark::kMicrosecond);

// An ordinary tick: no pattern, just the countdown.
void BM_Tick(benchmark::State& state) {
  Music* m = music_new();
  m->period = 1 << 30;
  for (auto _ : state) {
    music_tick(m);
    benchmark::DoNotOptimize(m->countdown);
  }
  music_free(&m);
}
BENCHMARK(BM_Tick);

// The whole per-frame sound step of the running show: tick, mix, voice replacement on pattern
// frames, queue and one device block (to the headless platform's device sink). The soundtrack
// is set up once; the first 16 patterns fill every voice before timing starts.
void BM_SoundtrackPump(benchmark::State& state) {
  if (!soundtrack.music) {
    soundtrack.stream = xsnd_new();
    std::srand(1);
    soundtrack_init();
    soundtrack.music->period = 160;
    for (int i = 0; i < 16 * 160; ++i) soundtrack_pump();
  }
  for (auto _ : state) soundtrack_pump();
}
BENCHMARK(BM_SoundtrackPump)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
