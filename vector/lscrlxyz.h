// LSCRLXYZ: horizontal text scroller drawn with an LFont. Three sine waves running along the
// text move each visible character sideways, up and down, and grow and shrink it. The scroller
// owns its Cursor; the text, font and image are the caller's. Scroll once per frame, draw as
// often as wanted.
#pragma once
#include <cstdint>

struct Cursor;
struct LFont;
struct Image;

// One displacement wave: phase and speed are sine-table angles (1024 per turn), step is the phase
// difference from one character to the next, amplitude multiplies the table value (>> 15).
struct LScrlWave {
  int32_t phase;
  int32_t speed;
  int32_t step;
  int32_t amplitude;
};

struct LScrlXyz {
  int32_t x;            // left edge of the strip, pixels
  int32_t y;            // base row of every glyph origin before the vertical wave
  int32_t width;        // strip width, pixels
  int32_t height;       // strip height, pixels (visibility test only)
  int32_t speed;        // pixels per lscrlxyz_scroll; may be negative
  int32_t fine;         // offset within the current cell: 0..P-1 forward, 1..P backward
  const char* text;     // NUL-terminated, not owned; null until lscrlxyz_set_text
  Cursor* cursor;       // owned: first visible character
  LFont* font;          // not owned
  Image* image;         // not owned
  LScrlWave x_wave;     // sideways
  LScrlWave y_wave;     // up and down
  LScrlWave scale_wave; // growth of the glyph scale
};

// New scroller over a default text; draws the wave parameters with rand() (9 draws).
LScrlXyz* lscrlxyz_new();
void lscrlxyz_free(LScrlXyz** scroller);  // frees the cursor and the record; nulls the pointer
// Attaches text, font and image (all required); x = y = 0, width = image width, height =
// font advance.y. Speed, fine and the waves stay.
void lscrlxyz_set_text(LScrlXyz* scroller, const char* text, LFont* font, Image* image);
void lscrlxyz_scroll(LScrlXyz* scroller);  // moves by speed pixels and drifts the waves
void lscrlxyz_draw(LScrlXyz* scroller);    // draws the visible characters; no allocation
