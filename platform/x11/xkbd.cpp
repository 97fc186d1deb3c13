// XKBD on Xlib: takes at most one key press per poll from the window's queue. Pointer, button
// and key-release events are selected on the window but nobody reads them, and keyboard-mapping
// changes arrive unasked, so each poll drops every event that is not a key press: the client's
// queue does not grow, and a waiting pause is not woken again and again by an event left in it.
// Exposure, mapping and reshaping are noted on the way, so that a paused show redraws its frame.
// A window manager's close request is delivered as the ESC character, so it ends the show like
// ESC.
#include "platform/xkbd.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

#include "image/ident.h"
#include "platform/x11/xshared.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {"XKBD    ", "20150812", "Kelvardo", "XWINDOWS", "CODE    "};
constexpr bool kReport = false;

XKbd* the_keyboard = nullptr;

void xkbd_error() {
  if (kReport) std::puts("XKBD error");
}

// Every queued event except the key presses of the window.
Bool unread_event(Display*, XEvent* ev, XPointer window) {
  return !(ev->type == KeyPress && ev->xany.window == *reinterpret_cast<const Window*>(window));
}

}  // namespace

XKbd* xkbd_new() {
  if (!the_keyboard) {
    XKbd* kbd = static_cast<XKbd*>(std::calloc(1, sizeof(XKbd)));
    char* text = static_cast<char*>(std::calloc(9, 1));
    if (!kbd || !text) {
      std::free(kbd);
      std::free(text);
      xkbd_error();
      return nullptr;
    }
    kbd->text = text;
    the_keyboard = kbd;
  }
  if (xshared.display && xshared.window) XSelectInput(xshared.display, xshared.window, kWindowEvents);
  return the_keyboard;
}

void xkbd_poll(XKbd* kbd) {
  if (!kbd) {
    xkbd_error();
    std::exit(0);
  }
  Display* d = xshared.display;
  if (!d || !xshared.window) return;
  XEvent ev;
  bool close_requested = false;
  while (XCheckIfEvent(d, &ev, unread_event, reinterpret_cast<XPointer>(&xshared.window))) {
    if (ev.type == MappingNotify) {
      XRefreshKeyboardMapping(&ev.xmapping);
    } else if (ev.type == Expose || ev.type == MapNotify || ev.type == ConfigureNotify) {
      if (ev.xany.window == xshared.window) xshared.redraw = true;
    } else if (ev.type == ClientMessage && ev.xclient.window == xshared.window &&
               ev.xclient.message_type == xshared.wm_protocols && Atom(ev.xclient.data.l[0]) == xshared.wm_delete) {
      close_requested = true;
    }
  }
  if (close_requested) {
    kbd->text[0] = 27;
    kbd->text[1] = 0;
    return;
  }
  if (!XCheckWindowEvent(d, xshared.window, KeyPressMask, &ev)) return;
  XLookupString(&ev.xkey, kbd->text, 8, nullptr, nullptr);
  kbd->keycode = int32_t(ev.xkey.keycode);
}
