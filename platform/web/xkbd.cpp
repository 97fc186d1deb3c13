// XKBD in a web page: the page queues its key presses (the character the key types, as the X
// window's lookup gives it, and the X key code of the same key); each poll takes at most one.
#include "platform/xkbd.h"

#include <emscripten.h>

#include <cstdlib>

namespace {

XKbd* the_keyboard = nullptr;

// Takes the oldest queued key press: its character in the low byte, its key code above; 0 when
// none is queued.
EM_JS(int, web_take_key, (), {
  const keys = Module['kromKeys'];
  if (!keys || keys.length === 0) return 0;
  const k = keys.shift();
  return (k[1] << 8) | (k[0] & 0xff);
});

}  // namespace

XKbd* xkbd_new() {
  if (!the_keyboard) {
    XKbd* kbd = static_cast<XKbd*>(std::calloc(1, sizeof(XKbd)));
    char* text = static_cast<char*>(std::calloc(9, 1));
    if (!kbd || !text) {
      std::free(kbd);
      std::free(text);
      return nullptr;
    }
    kbd->text = text;
    the_keyboard = kbd;
  }
  return the_keyboard;
}

void xkbd_poll(XKbd* kbd) {
  if (!kbd) std::exit(0);
  const int key = web_take_key();
  if (key == 0) return;
  kbd->text[0] = char(key & 0xff);
  kbd->text[1] = 0;
  kbd->keycode = key >> 8;
}
