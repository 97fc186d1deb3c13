// The drawing primitives every scene uses each frame (fill, fade, line, keyed blit) and one
// frame of the rain scene's drops, on the 256 x 256 screen.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "effects/lrain.h"
#include "image/img.h"

namespace {

Image* screen_image() {
  Image* image = img_new();
  img_resize(image, 256, 256);
  return image;
}

void BM_FillRect(benchmark::State& state) {
  Image* screen = screen_image();
  uint32_t colour = 0;
  for (auto _ : state) {
    img_fill_rect(screen, 0, 0, 256, 256, colour++);
    benchmark::DoNotOptimize(screen->pixels);
  }
  img_free(&screen);
}
BENCHMARK(BM_FillRect);

void BM_SubColour(benchmark::State& state) {
  Image* screen = screen_image();
  for (auto _ : state) {
    img_fill_rect(screen, 0, 0, 1, 1, 0xffffff);   // keep some work from going to zero
    img_sub_colour(screen, 0x070707);
    benchmark::DoNotOptimize(screen->pixels);
  }
  img_free(&screen);
}
BENCHMARK(BM_SubColour);

// 256 lines of random directions, as a busy scene draws them.
void BM_Lines256(benchmark::State& state) {
  Image* screen = screen_image();
  std::srand(1);
  int32_t ends[256][4];
  for (auto& e : ends) {
    for (int32_t& v : e) v = std::rand() % 320 - 32;
  }
  for (auto _ : state) {
    for (const auto& e : ends) img_line(screen, e[0], e[1], e[2], e[3], 0xffffff);
    benchmark::DoNotOptimize(screen->pixels);
  }
  img_free(&screen);
}
BENCHMARK(BM_Lines256);

// 64 keyed 16 x 16 sprites, half of them clipped at the edges.
void BM_KeyedBlit64(benchmark::State& state) {
  Image* screen = screen_image();
  Image* sprite = img_new();
  for (int32_t y = 0; y < 16; ++y) {
    for (int32_t x = 0; x < 16; ++x) img_set_pixel(sprite, x, y, (x + y) & 1 ? 0xff8000 : 0);
  }
  for (auto _ : state) {
    for (int32_t i = 0; i < 64; ++i) img_blit_keyed(sprite, screen, 0, 0, i * 5 - 8, i * 4 - 8, 16, 16);
    benchmark::DoNotOptimize(screen->pixels);
  }
  img_free(&sprite);
  img_free(&screen);
}
BENCHMARK(BM_KeyedBlit64);

// One frame of rain as the scene draws it: fade, then three layers of drops moved and drawn.
void BM_RainFrame(benchmark::State& state) {
  Image* screen = screen_image();
  std::srand(7);
  LRain* layers[3] = {lrain_new(), lrain_new(), lrain_new()};
  const int32_t counts[3] = {64, 96, 128};
  for (int32_t i = 0; i < 3; ++i) {
    lrain_set_count(layers[i], counts[i]);
    layers[i]->vx = (i + 1) << 15;
    layers[i]->vy = (i + 2) << 16;
    layers[i]->colour = 0x406080u << i;
  }
  for (auto _ : state) {
    img_sub_colour(screen, 0x202020);
    for (LRain* layer : layers) {
      lrain_update(layer);
      lrain_draw(layer, screen);
    }
    benchmark::DoNotOptimize(screen->pixels);
  }
  for (LRain*& layer : layers) lrain_free(&layer);
  img_free(&screen);
}
BENCHMARK(BM_RainFrame);

}  // namespace

BENCHMARK_MAIN();
