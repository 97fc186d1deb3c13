// One frame of each visual effect as its scene sets it up, on the 256 x 256 screen: the 256
// sine-scan rows, the arch-path walkers under each of the four renderers, five spoke wheels,
// three rain layers and the back-move wallpaper at its largest.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "audio/sample.h"
#include "effects/archpath.h"
#include "effects/backmove.h"
#include "effects/lradial.h"
#include "effects/lrain.h"
#include "effects/sinescan.h"
#include "image/img.h"
#include "image/rgb.h"

namespace {

Image* screen_image() {
  Image* image = img_new();
  img_resize(image, 256, 256);
  return image;
}

// A 16 x 16 disc of one colour on black, like the tiles of the sprite sheets.
void draw_disc(Image* tile, uint32_t colour) {
  for (int32_t r = 0; r < 16; ++r)
    for (int32_t c = 0; c < 16; ++c) {
      const int32_t dx = 2 * c - 15, dy = 2 * r - 15;
      img_set_pixel(tile, c, r, dx * dx + dy * dy <= 256 ? colour : 0);
    }
}

// The sine-scan scene: lower rows on the ramp with fixed speeds and falling steps, upper rows
// tinted with the hue wheel; every row updated and drawn.
void BM_SineScanFrame(benchmark::State& state) {
  Image* screen = screen_image();
  std::srand(11);
  LRadial* wheel = lradial_new();  // brings the hue wheel
  std::vector<SineScan*> scans(256);
  for (int32_t n = 255; n >= 0; --n) {
    SineScan* scan = sinescan_new();
    scan->tint = uint32_t(sample_get(lradial_palette(), (2048 - 6 * n) % 1536));
    scans[size_t(255 - n)] = scan;
  }
  for (int32_t i = 255; i >= 0; --i) {
    SineScan* scan = scans[size_t(i)];
    scan->y = i;
    if (i >= 128) {
      for (int k = 0; k < 3; ++k) {
        scan->waves[k].speed = (16 + 8 * k) << 16;
        scan->waves[k].step = ((256 - i) >> (k + 1)) << 16;
      }
    } else {
      sample_free(&scan->colour_ramp);
    }
  }
  for (auto _ : state) {
    for (int32_t i = 255; i >= 0; --i) {
      sinescan_update(scans[size_t(i)]);
      sinescan_draw(scans[size_t(i)], screen);
    }
    benchmark::DoNotOptimize(screen->pixels);
  }
  for (SineScan*& scan : scans) sinescan_free(&scan);
  lradial_free(&wheel);
  img_free(&screen);
}
BENCHMARK(BM_SineScanFrame)->Unit(benchmark::kMicrosecond);

// The arch-path scene at its largest (383 walkers). Argument 0 picks the renderer as the scene
// numbers them (dots, streaks, sprites, glows); argument 1 is 1 while the fade is on (the scene's
// setting: a quarter of the walkers) and 0 when the viewer has switched it off (all of them).
void BM_ArchPathFrame(benchmark::State& state) {
  const int renderer = int(state.range(0));
  const bool fade_on = state.range(1) != 0;
  Image* screen = screen_image();
  std::srand(23);
  std::vector<ArchPath*> walkers;
  for (int i = 0; i < 383; ++i) {
    ArchPath* w = archpath_new();
    draw_disc(w->sprite, 0xFF8040);
    draw_disc(w->glow, 0x402010);
    walkers.push_back(w);
  }
  const int32_t n = int32_t(walkers.size());
  const int32_t treated = (renderer == 1 || fade_on) ? n / 4 : n;
  for (auto _ : state) {
    for (int32_t i = treated - 1; i >= 0; --i) {
      ArchPath* w = walkers[size_t(i)];
      switch (renderer) {
        case 0:
          for (int k = 0; k < 16; ++k) {
            archpath_step_wander(w);
            archpath_draw_dot(w, screen);
          }
          break;
        case 1:
          for (int k = 0; k < 16; ++k) {
            archpath_step_wander(w);
            const int32_t radius = w->radius;
            const uint32_t colour = w->colour;
            for (int32_t r = radius; r >= 1; --r) {
              archpath_draw_dot(w, screen);
              w->radius = r;
              w->colour += 0x010101u;
            }
            w->radius = radius;
            w->colour = colour;
          }
          break;
        case 2:
          for (int k = 0; k < 16; ++k) {
            archpath_step_wander(w);
            archpath_draw_sprite(w, screen);
          }
          break;
        default:
          for (int k = 0; k < 8; ++k) archpath_step_wander(w);
          archpath_draw_glow(w, screen);
          break;
      }
    }
    benchmark::DoNotOptimize(screen->pixels);
  }
  for (ArchPath*& w : walkers) archpath_free(&w);
  img_free(&screen);
}
BENCHMARK(BM_ArchPathFrame)
    ->ArgNames({"renderer", "fade"})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({2, 1})
    ->Args({3, 1})
    ->Args({0, 0})
    ->Args({2, 0})
    ->Args({3, 0})
    ->Unit(benchmark::kMicrosecond);

// The radial scene: five wheels of 64 spokes whose radii breathe with the frame clock.
void BM_RadialFrame(benchmark::State& state) {
  Image* screen = screen_image();
  std::srand(5);
  const int32_t frequency[5] = {3, 5, 7, 11, 7};
  LRadial* wheels[5];
  for (LRadial*& w : wheels) w = lradial_new();
  uint32_t clock = 0;
  for (auto _ : state) {
    for (int i = 0; i < 5; ++i)
      wheels[i]->radius = (sine_table[(uint32_t(frequency[i]) * clock) % 1023u] >> 9) + 64;
    for (LRadial* w : wheels) lradial_spin(w);
    for (LRadial* w : wheels) lradial_set_count(w, 64);
    for (LRadial* w : wheels) lradial_draw_rainbow(w, screen);
    ++clock;
    benchmark::DoNotOptimize(screen->pixels);
  }
  for (LRadial*& w : wheels) lradial_free(&w);
  img_free(&screen);
}
BENCHMARK(BM_RadialFrame)->Unit(benchmark::kMicrosecond);

// The rain scene at its fastest: 256, 128 and 64 drops at one, two and four times the largest
// first-layer velocity, each moved and drawn, then one drop per layer re-placed.
void BM_RainSceneFrame(benchmark::State& state) {
  Image* screen = screen_image();
  std::srand(9);
  const int32_t counts[3] = {256, 128, 64};
  const int32_t vx = 0x1FFFF * 2;
  const int32_t vy = (0x1FFFF + 0x3FFFF) * 2;
  LRain* layers[3];
  for (int i = 0; i < 3; ++i) {
    layers[i] = lrain_new();
    lrain_set_count(layers[i], counts[i]);
    layers[i]->vx = vx << i;
    layers[i]->vy = vy << i;
    layers[i]->colour = 0x40C0FFu;
  }
  for (auto _ : state) {
    for (LRain* layer : layers) {
      lrain_update(layer);
      lrain_draw(layer, screen);
    }
    for (LRain* layer : layers) lrain_reset_drop(layer, std::rand() % layer->count);
    benchmark::DoNotOptimize(screen->pixels);
  }
  for (LRain*& layer : layers) lrain_free(&layer);
  img_free(&screen);
}
BENCHMARK(BM_RainSceneFrame)->Unit(benchmark::kMicrosecond);

// The back-move scene at its largest: 31 layers of the smallest cells (32 x 32, 81 keyed copies
// of a 16 x 16 ball each), moved and drawn in list order.
void BM_BackMoveFrame(benchmark::State& state) {
  Image* screen = screen_image();
  std::srand(17);
  std::vector<BackMove*> layers;
  std::vector<Image*> tiles;
  for (int i = 0; i < 31; ++i) {
    BackMove* layer = backmove_new();
    Image* tile = img_new();
    draw_disc(tile, 0x2080FFu + uint32_t(i));
    layer->target = screen;
    layer->tile = tile;
    layer->cell_width = 32;
    layer->cell_height = 32;
    layer->offset_x = std::rand() % 32;
    layer->offset_y = std::rand() % 32;
    layers.push_back(layer);
    tiles.push_back(tile);
  }
  for (auto _ : state) {
    for (BackMove* layer : layers) {
      backmove_move(layer);
      backmove_draw(layer);
    }
    benchmark::DoNotOptimize(screen->pixels);
  }
  for (BackMove*& layer : layers) backmove_free(&layer);
  for (Image*& tile : tiles) img_free(&tile);
  img_free(&screen);
}
BENCHMARK(BM_BackMoveFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
