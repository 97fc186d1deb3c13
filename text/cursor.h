// CURSOR: a position cycling over a text that it does not own. It advances by `step` and wraps
// at `length`, and can remember one position (mark) and return to it (restore). Users read
// `index` and `text` directly and may set `step` directly.
#pragma once
#include <cstdint>

struct Cursor {
  int32_t index;     // 0 <= index < length after every step (0 when length is 0)
  int32_t step;      // added by each step; may be negative
  int32_t length;    // characters cycled over
  const char* text;  // not owned; the character under the cursor is text[index]
  int32_t saved;     // position remembered by cursor_mark
};

Cursor* cursor_new();                 // over "KROM" (length 4), step 1; null on failure
void cursor_free(Cursor** cursor);    // frees and nulls the caller's pointer
// Sets text, length (>= 0) and step, index 0; saved is left alone. A null text is refused.
void cursor_init(Cursor* cursor, const char* text, int32_t length, int32_t step);
// index = (index + step) mod length in 0 .. length-1; over an empty text index stays 0.
void cursor_step(Cursor* cursor);
void cursor_mark(Cursor* cursor);     // saved = index
void cursor_restore(Cursor* cursor);  // index = saved
