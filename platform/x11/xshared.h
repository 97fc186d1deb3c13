// The display connection and window that XDPY opens and XKBD reads from (one per process).
#pragma once
#include <X11/Xlib.h>

struct XShared {
  Display* display;
  Window window;
  Window root;
  GC gc;
  Atom wm_protocols;
  Atom wm_delete;
};

extern XShared xshared;
