// XKBD: key presses of the window as characters. Each poll takes at most one key press; the
// consumer reads text[0] and clears it and keycode.
#pragma once
#include <cstdint>

struct XKbd {
  char* text;        // 9-byte buffer, text of the last key press
  int32_t keycode;   // key code of the last key press
};

XKbd* xkbd_new();            // one record per process; every call returns it
void xkbd_poll(XKbd* kbd);   // never blocks
