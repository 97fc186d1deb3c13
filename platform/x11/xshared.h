// The display connection and window that XDPY opens and XKBD reads from (one per process).
#pragma once
#include <X11/Xlib.h>

// Events selected on the window: key press/release, button press/release and motion (0x204f),
// which the keyboard reads, and exposure and structure changes, after which a paused show
// redraws its last frame.
constexpr long kWindowEvents = 0x204f | ExposureMask | StructureNotifyMask;

struct XShared {
  Display* display;
  Window window;
  Window root;
  GC gc;
  Atom wm_protocols;
  Atom wm_delete;
  bool redraw;   // the window was exposed, mapped or reshaped since the last frame was shown
};

extern XShared xshared;
