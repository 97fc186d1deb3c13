// Sends WM_DELETE_WINDOW to a window, as a window manager's close button does.
// usage: krom-test-wmdelete WINDOW-ID
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: krom-test-wmdelete WINDOW-ID\n", stderr);
    return 2;
  }
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 1;
  const Window w = Window(std::strtoul(argv[1], nullptr, 0));
  XEvent ev = {};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = w;
  ev.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = long(XInternAtom(d, "WM_DELETE_WINDOW", False));
  ev.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, w, False, NoEventMask, &ev);
  XFlush(d);
  XCloseDisplay(d);
  return 0;
}
