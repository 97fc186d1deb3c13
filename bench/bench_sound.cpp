// The real-time stream's cost per frame: one block resampled into the ring and the device side's
// pulls of the same length, as the ALSA backend does at 50 frames per second.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "platform/sound/sndstream.h"

static void BM_StreamFrame(benchmark::State& state) {
  SndStream* s = sndstream_new(441);
  std::vector<int16_t> block(882), period(441);
  for (size_t i = 0; i < block.size(); ++i) block[i] = int16_t(20000 * std::sin(double(i) * 0.07));
  for (int i = 0; i < 8; ++i) sndstream_push(s, block.data(), 882);
  for (auto _ : state) {
    sndstream_push(s, block.data(), 882);
    sndstream_pull(s, period.data());
    sndstream_pull(s, period.data());
    benchmark::DoNotOptimize(period.data());
  }
  sndstream_free(&s);
}
BENCHMARK(BM_StreamFrame);
BENCHMARK_MAIN();
