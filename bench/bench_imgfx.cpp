// IMGFX post effects on the 256 x 256 screen, as the frame loop runs them every frame.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>

#include "image/img.h"
#include "image/imgfx.h"

namespace {

struct Screens {
  Image* src = nullptr;
  Image* dst = nullptr;
  Screens() {
    src = img_new();
    dst = img_new();
    img_resize(src, 256, 256);
    img_resize(dst, 256, 256);
    std::mt19937 gen(7316);
    for (int32_t i = 0; i < 256 * 256; ++i) src->pixels[i] = uint32_t(gen()) & 0xffffffu;
  }
  ~Screens() {
    img_free(&src);
    img_free(&dst);
  }
};

void BM_Mirror4(benchmark::State& state) {
  Screens s;
  for (auto _ : state) {
    imgfx_mirror4(s.src);
    benchmark::DoNotOptimize(s.src->pixels[65535]);
  }
  state.SetItemsProcessed(state.iterations() * 256 * 256);
}
BENCHMARK(BM_Mirror4);

void BM_Mirror8(benchmark::State& state) {
  Screens s;
  for (auto _ : state) {
    imgfx_mirror8(s.src);
    benchmark::DoNotOptimize(s.src->pixels[65535]);
  }
  state.SetItemsProcessed(state.iterations() * 256 * 256);
}
BENCHMARK(BM_Mirror8);

void BM_Glare(benchmark::State& state) {
  Screens s;
  for (auto _ : state) {
    imgfx_glare(s.src, s.dst, 3);
    benchmark::DoNotOptimize(s.dst->pixels[0]);
  }
  state.SetItemsProcessed(state.iterations() * 256 * 256);
}
BENCHMARK(BM_Glare);

void BM_BlurH(benchmark::State& state) {
  Screens s;
  for (auto _ : state) {
    imgfx_blur_h(s.src, s.dst, 2, 2, 2);
    benchmark::DoNotOptimize(s.dst->pixels[0]);
  }
  state.SetItemsProcessed(state.iterations() * 256 * 256);
}
BENCHMARK(BM_BlurH);

// The whole chain with every switch on: mirror, glare into one scratch image, blur into the other.
void BM_Chain(benchmark::State& state) {
  Screens s;
  Image* blur = img_new();
  img_resize(blur, 256, 256);
  for (auto _ : state) {
    imgfx_mirror8(s.src);
    imgfx_glare(s.src, s.dst, 3);
    imgfx_blur_h(s.dst, blur, 2, 2, 2);
    benchmark::DoNotOptimize(blur->pixels[0]);
  }
  img_free(&blur);
  state.SetItemsProcessed(state.iterations() * 256 * 256);
}
BENCHMARK(BM_Chain);

}  // namespace

BENCHMARK_MAIN();
