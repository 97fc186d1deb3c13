// The overlays drawn with the large wire font over every scene: the frame-rate display (which
// also keeps the frame clock) and the two animated captions spelling KROM.
#include <cstdint>
#include <initializer_list>

#include "audio/sample.h"
#include "driver/demo.h"
#include "image/rgb.h"
#include "platform/fps.h"
#include "vector/lfont.h"
#include "vector/vec2d.h"

namespace {

void reset_pose(LFont* font) {
  font->scale.x = 1;
  font->scale.y = 1;
  font->angle = 0;
}

void draw_letter(LFont* font, char letter) {
  font->code = letter;
  lfont_draw_char(font);
}

struct WobbleLetter {
  char letter;
  int32_t palette_offset, x_phase, x_base, y_phase;
};

constexpr WobbleLetter kWobble[4] = {
    {'K', 192, 500, 24, 800},
    {'R', 128, 450, 40, 600},
    {'O', 64, 400, 56, 400},
    {'M', 0, 350, 72, 200},
};

}  // namespace

void demo_draw_rate() {
  if (!demo.pacer) return;
  demo.clock = demo.pacer->frames;
  LFont* font = demo.large_wire_font;
  if (!demo.show_rate || !font) return;
  reset_pose(font);
  font->image = demo.screen;
  font->cursor.x = 0;
  font->cursor.y = 0;
  lfont_print_hex8(font, uint8_t(demo.pacer->shown_rate & 0xff));
  font->cursor.x = 0;
  font->cursor.y = 16;
  lfont_print_hex32(font, uint32_t(demo.pacer->frames));
}

void demo_swaying_caption() {
  LFont* font = demo.large_wire_font;
  if (!font) return;
  reset_pose(font);
  const uint32_t t = uint32_t(demo.clock);
  font->cursor.y = 0;
  font->cursor.x = (sine_at(int32_t(7u * t)) >> 7) + 16;
  for (char letter : {'K', 'R', 'O', 'M'}) draw_letter(font, letter);
}

void demo_wobbling_caption() {
  LFont* font = demo.large_wire_font;
  if (!font) return;
  reset_pose(font);
  const uint32_t t = uint32_t(demo.clock);
  for (const WobbleLetter& w : kWobble) {
    const int32_t len = demo.palette && demo.palette->length > 0 ? demo.palette->length : 1536;
    const int32_t index = int32_t((int64_t(demo.clock) + w.palette_offset) % len);
    lfont_set_colour(font, uint32_t(sample_get(demo.palette, index < 0 ? index + len : index)));
    font->cursor.x = (sine_at(int32_t(23u * t + uint32_t(w.x_phase))) >> 12) + w.x_base;
    font->cursor.y = sine_at(int32_t(17u * t + uint32_t(w.y_phase))) >> 12;
    draw_letter(font, w.letter);
  }
}
