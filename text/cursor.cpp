// CURSOR: wrapping position over a text.
#include "text/cursor.h"

#include <cstdio>
#include <cstdlib>

#include "image/ident.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {"CURSOR  ", "20240312", "C       ", "Kelvardo", "CODE    "};
constexpr bool kReport = false;
constexpr char kDefaultText[] = "KROM";

void cursor_error() {
  if constexpr (kReport) std::puts("CURSOR Error.");
}

}  // namespace

Cursor* cursor_new() {
  // A failed allocation is reported by the initialisation of the missing record.
  auto* cursor = static_cast<Cursor*>(std::calloc(1, sizeof(Cursor)));
  cursor_init(cursor, kDefaultText, 4, 1);
  return cursor;
}

void cursor_free(Cursor** cursor) {
  if (!cursor || !*cursor) {
    cursor_error();
    return;
  }
  std::free(*cursor);
  *cursor = nullptr;
}

void cursor_init(Cursor* cursor, const char* text, int32_t length, int32_t step) {
  if (!cursor || !text || length < 0) {
    cursor_error();
    return;
  }
  cursor->text = text;
  cursor->length = length;
  cursor->step = step;
  cursor->index = 0;
}

void cursor_step(Cursor* cursor) {
  if (!cursor) {
    cursor_error();
    return;
  }
  // An empty text has no position but 0; there is nothing to divide by.
  if (cursor->length <= 0) {
    cursor->index = 0;
    return;
  }
  // The sum is taken in 64 bits so that a step near the 32-bit limits still wraps by the length,
  // not by 2^32.
  int64_t r = (int64_t(cursor->index) + cursor->step) % cursor->length;
  if (r < 0) r += cursor->length;
  cursor->index = int32_t(r);
}

void cursor_mark(Cursor* cursor) {
  if (!cursor) {
    cursor_error();
    return;
  }
  cursor->saved = cursor->index;
}

void cursor_restore(Cursor* cursor) {
  if (!cursor) {
    cursor_error();
    return;
  }
  cursor->index = cursor->saved;
}
