// LSCRLXYZ: the wavy vector scroller.
#include "vector/lscrlxyz.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "image/fixed.h"
#include "image/ident.h"
#include "image/img.h"
#include "image/rgb.h"
#include "text/cursor.h"
#include "vector/lfont.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {"LSCRLXYZ", "20240312", "Kelvardo", "C       ", "CODE    "};
constexpr bool kReport = false;
constexpr char kDefaultText[] = "A scroll's default text. ";

void lscrlxyz_error() {
  if constexpr (kReport) std::puts("LSCRLXYZ error");
}

// Displacement of character i on a wave: (sin(phase + i * step) * amplitude) >> 15.
int32_t wave_at(const LScrlWave& w, int32_t i) {
  return wrap_mul(sine_table[wrap_add(w.phase, wrap_mul(i, w.step)) & sine_mask], w.amplitude) >> 15;
}

void move_phases(LScrlXyz* s, int32_t sign) {
  s->x_wave.phase = wrap_add(s->x_wave.phase, wrap_mul(sign, s->x_wave.step));
  s->y_wave.phase = wrap_add(s->y_wave.phase, wrap_mul(sign, s->y_wave.step));
  s->scale_wave.phase = wrap_add(s->scale_wave.phase, wrap_mul(sign, s->scale_wave.step));
}

}  // namespace

LScrlXyz* lscrlxyz_new() {
  auto* s = static_cast<LScrlXyz*>(std::calloc(1, sizeof(LScrlXyz)));
  if (!s) {
    lscrlxyz_error();
    return nullptr;
  }
  s->speed = 1;
  s->cursor = cursor_new();
  if (!s->cursor) {
    lscrlxyz_error();
    std::free(s);
    return nullptr;
  }
  cursor_init(s->cursor, kDefaultText, static_cast<int32_t>(sizeof(kDefaultText) - 1), 1);
  // Nine draws in this order: speed, step, amplitude of the x, y and scale waves.
  s->x_wave.speed = (std::rand() & 31) + 16;
  s->x_wave.step = (std::rand() & 31) + 32;
  s->x_wave.amplitude = (std::rand() & 63) + 16;
  s->y_wave.speed = (std::rand() & 31) + 16;
  s->y_wave.step = (std::rand() & 31) + 32;
  s->y_wave.amplitude = (std::rand() & 31) + 64;
  s->scale_wave.speed = (std::rand() & 31) + 16;
  s->scale_wave.step = (std::rand() & 31) + 32;
  s->scale_wave.amplitude = (std::rand() & 7) + 1;
  return s;
}

void lscrlxyz_free(LScrlXyz** scroller) {
  if (!scroller || !*scroller) {
    lscrlxyz_error();
    return;
  }
  if ((*scroller)->cursor) cursor_free(&(*scroller)->cursor);
  std::free(*scroller);
  *scroller = nullptr;
}

void lscrlxyz_set_text(LScrlXyz* s, const char* text, LFont* font, Image* image) {
  if (!s || !text || !font || !image) {
    lscrlxyz_error();
    return;
  }
  if (s->cursor) cursor_free(&s->cursor);
  s->cursor = cursor_new();
  if (!s->cursor) lscrlxyz_error();
  const std::size_t length = std::strlen(text);
  cursor_init(s->cursor, text, length > INT32_MAX ? INT32_MAX : static_cast<int32_t>(length), 1);
  s->text = text;
  s->font = font;
  s->image = image;
  s->x = 0;
  s->y = 0;
  s->width = image->width;
  s->height = font->advance.y;
}

void lscrlxyz_scroll(LScrlXyz* s) {
  if (!s || !s->text || !s->cursor || !s->font || s->font->scale.x == 0) {
    lscrlxyz_error();
    return;
  }
  // A zero cell (advance.x of 0) has no pitch to divide by.
  const int64_t p = int64_t(s->font->advance.x) * s->font->scale.x;
  if (p == 0 || p != int32_t(p)) {
    lscrlxyz_error();
    return;
  }
  const int64_t fine = int64_t(s->fine) + s->speed;
  if (fine >= p) {
    move_phases(s, 1);
    s->cursor->step = int32_t(fine / p);
    cursor_step(s->cursor);
    s->fine = int32_t(fine % p);
  } else if (fine < 0) {
    move_phases(s, -1);
    s->cursor->step = int32_t(fine / p - 1);
    cursor_step(s->cursor);
    s->fine = int32_t(fine % p + p);
  } else {
    s->fine = int32_t(fine);
  }
  s->x_wave.phase = wrap_add(s->x_wave.phase, s->x_wave.speed) & sine_mask;
  s->y_wave.phase = wrap_add(s->y_wave.phase, s->y_wave.speed) & sine_mask;
  s->scale_wave.phase = wrap_add(s->scale_wave.phase, s->scale_wave.speed) & sine_mask;
}

void lscrlxyz_draw(LScrlXyz* s) {
  if (!s || !s->text || !s->cursor || !s->image || !s->font || s->font->scale.x == 0) {
    lscrlxyz_error();
    return;
  }
  LFont* font = s->font;
  const int32_t p = wrap_mul(font->advance.x, font->scale.x);
  if (p == 0) {
    lscrlxyz_error();
    return;
  }
  const int64_t x = s->x, y = s->y;
  if (x > s->image->width || y > s->image->height || x + s->width < 0 || y + s->height < 0) return;

  const Vec2d scale = font->scale;
  const int32_t bx = wrap_sub(s->x, s->fine);
  const int32_t n = int32_t(int64_t(s->width) / p + 2);
  font->image = s->image;
  Cursor* cursor = s->cursor;
  cursor_mark(cursor);
  cursor->step = 1;
  for (int32_t i = 0; i < n; ++i) {
    font->cursor.y = wrap_add(s->y, wave_at(s->y_wave, i));
    font->cursor.x = wrap_add(wrap_add(bx, wrap_mul(i, p)), wave_at(s->x_wave, i));
    const int32_t d = wave_at(s->scale_wave, i);
    font->scale.x = wrap_add(scale.x, d);
    font->scale.y = wrap_add(scale.y, d);
    const bool inside = cursor->index >= 0 && cursor->index < cursor->length;
    font->code = inside ? static_cast<signed char>(cursor->text[cursor->index]) : 0;
    lfont_draw_char(font);
    cursor_step(cursor);
  }
  cursor_restore(cursor);
  font->scale = scale;
}
