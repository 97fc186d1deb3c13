// Vector text timings on the 256 x 256 screen: one frame of the wavy scroller as its scene draws
// it (32 copies and one scroll), a single scroller draw, a caption line and a hexadecimal number
// with the large wire font, and reading a wire-font text.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

#include "audio/list.h"
#include "image/img.h"
#include "image/rgb.h"
#include "resources/resources.h"
#include "vector/lfont.h"
#include "vector/lscrlxyz.h"
#include "vector/obj2d.h"

namespace {

// The scroll text: the key help of the info text as one line, every line feed a glyph cell.
constexpr char kScrollText[] =
    "\n\n        \nKROM 7316      \nDATE: 20150812       \n        \nPRESS KEYS: \n5: 25 F.P.S.  \n"
    "6: 50 F.P.S.  \n8: DISPLAY F.P.S.  \nESC: EXIT  \nSPACE: NEXT PART  \nU,I: SCROLL SPEED \n"
    "F: FADE ON/OFF  \nB: BLURR ON/OFF  \nG: GLARE ON/OFF  \nM: MIRROR MODE  \n        \n"
    "!\"#$%&'()*+,-./0123456789 \n                      \n";

struct Setup {
  Image* screen = nullptr;
  List* small = nullptr;
  List* large = nullptr;
  LFont* small_font = nullptr;
  LFont* large_font = nullptr;
  LScrlXyz* scroller = nullptr;

  Setup() {
    screen = img_new();
    img_resize(screen, 256, 256);
    small = obj2d_parse_library(reinterpret_cast<const char*>(res_font8), res_font8_size);
    large = obj2d_parse_library(reinterpret_cast<const char*>(res_font16), res_font16_size);
    // The small font turns and scales about each glyph's middle, as the show centres it.
    for (int32_t i = 0; small && i < small->count; ++i) {
      auto* glyph = static_cast<Obj2d*>(list_get(small, i));
      if (!glyph) continue;
      glyph->position = Vec2d{-4, -4, 0};
      obj2d_translate(glyph);
    }
    small_font = lfont_new();
    small_font->advance = Vec2d{8, 8, 0};
    small_font->scale = Vec2d{8, 8, 0};
    small_font->glyphs = small;
    small_font->image = screen;
    large_font = lfont_new();
    large_font->glyphs = large;
    large_font->image = screen;
    std::srand(1);
    scroller = lscrlxyz_new();
    lscrlxyz_set_text(scroller, kScrollText, small_font, screen);
    scroller->y = 128;
    scroller->speed = 5;
  }
  ~Setup() {
    lscrlxyz_free(&scroller);
    lfont_free(&small_font);
    lfont_free(&large_font);
    obj2d_free_library(&small);
    obj2d_free_library(&large);
    img_free(&screen);
  }
};

// One frame of the ribbon: 32 copies with small offsets and their own colours, then one scroll.
void BM_ScrollerFrame(benchmark::State& state) {
  Setup s;
  int32_t t = 0;
  for (auto _ : state) {
    img_fill_rect(s.screen, 0, 0, 256, 256, 0);
    for (int32_t k = 0; k < 32; ++k) {
      s.scroller->x = sine_at(3 * k - 11 * t) >> 10;
      s.scroller->y = 128 + (sine_at(13 * t + 3 * k) >> 10);
      lfont_set_colour(s.small_font, 0x204080u + uint32_t(k) * 0x060402u);
      lscrlxyz_draw(s.scroller);
    }
    lscrlxyz_scroll(s.scroller);
    ++t;
    benchmark::DoNotOptimize(s.screen->pixels);
  }
}
BENCHMARK(BM_ScrollerFrame);

void BM_ScrollerDrawOnce(benchmark::State& state) {
  Setup s;
  for (auto _ : state) {
    lscrlxyz_draw(s.scroller);
    lscrlxyz_scroll(s.scroller);
    benchmark::DoNotOptimize(s.screen->pixels);
  }
}
BENCHMARK(BM_ScrollerDrawOnce);

// A full 16-character caption line with the 16 x 16 font, then the frame counter in hex.
void BM_LFontPrintLine(benchmark::State& state) {
  Setup s;
  const char line[] = "SPACE: NEXT PART";
  uint32_t frames = 0;
  for (auto _ : state) {
    s.large_font->cursor = Vec2d{0, 120, 0};
    for (size_t i = 0; i < sizeof(line) - 1; ++i) {
      s.large_font->code = line[i];
      lfont_draw_char(s.large_font);
    }
    s.large_font->cursor = Vec2d{0, 240, 0};
    lfont_print_hex32(s.large_font, frames++);
    benchmark::DoNotOptimize(s.screen->pixels);
  }
}
BENCHMARK(BM_LFontPrintLine);

void BM_ParseWireFont(benchmark::State& state) {
  for (auto _ : state) {
    List* lib = obj2d_parse_library(reinterpret_cast<const char*>(res_font16), res_font16_size);
    benchmark::DoNotOptimize(lib);
    obj2d_free_library(&lib);
  }
}
BENCHMARK(BM_ParseWireFont);

}  // namespace

BENCHMARK_MAIN();
