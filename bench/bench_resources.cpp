// What every start-up does with the embedded resources before the synthesis: decode the four
// pictures and parse both wire fonts.
#include <benchmark/benchmark.h>

#include "audio/list.h"
#include "image/img.h"
#include "resources/resources.h"
#include "vector/obj2d.h"

namespace {

void BM_DecodePictures(benchmark::State& state) {
  for (auto _ : state) {
    Image* images[4] = {img_read_pnm(res_glyphs, res_glyphs_size), img_read_pnm(res_balls, res_balls_size),
                        img_read_pnm(res_stars, res_stars_size), img_read_pnm(res_logo, res_logo_size)};
    benchmark::DoNotOptimize(images);
    for (Image*& image : images) img_free(&image);
  }
}
BENCHMARK(BM_DecodePictures)->Unit(benchmark::kMicrosecond);

void BM_ParseBothFonts(benchmark::State& state) {
  for (auto _ : state) {
    List* small = obj2d_parse_library(reinterpret_cast<const char*>(res_font8), res_font8_size);
    List* large = obj2d_parse_library(reinterpret_cast<const char*>(res_font16), res_font16_size);
    benchmark::DoNotOptimize(small);
    benchmark::DoNotOptimize(large);
    obj2d_free_library(&small);
    obj2d_free_library(&large);
  }
}
BENCHMARK(BM_ParseBothFonts)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
