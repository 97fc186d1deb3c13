// XDPY: the one 256 x 256 window titled "KROM7316" and the per-frame image transfer.
#pragma once
#include <cstdint>

struct Image;

struct XDpy {
  int32_t width;    // window width last requested
  int32_t height;   // window height last requested
  int32_t depth;    // root depth of screen 0
};

XDpy* xdpy_new();   // opens the display and shows the window; exits with status 1 without a display
void xdpy_resize(XDpy* dpy, int32_t width, int32_t height);
void xdpy_present(XDpy* dpy, const Image* image);
// Waits up to `ms` milliseconds for any input (used while paused, so the pause does not spin);
// first redraws the last frame if the window was exposed, resized or shown again meanwhile.
void xdpy_wait_input(int32_t ms);
