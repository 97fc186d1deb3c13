// XDPY on Xlib: the one window, kept at the frame size, and the per-frame XPutImage. The
// display connection, window, graphics context, attributes and the cached X image live for the
// whole process, one of each. Frames are words 0x00RRGGBB; a window whose visual stores pixels
// another way (16, 15 or 30 bits, other channel orders, 24-bit pixels) gets each frame converted
// in one pass, and the usual layout is copied unchanged.
#include "platform/xdpy.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <cstdio>
#include <initializer_list>
#include <cstdlib>
#include <cstring>

#include "image/ident.h"
#include "image/img.h"
#include "platform/x11/xshared.h"
#include "platform/xpix.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {"XDPY    ", "20150812", "Kelvardo", "XWINDOWS", "CODE    "};
constexpr bool kReport = false;

XDpy* the_record = nullptr;
XWindowAttributes attributes;
XImage* cached = nullptr;
// The window's visual and depth, and its colour tables (made with the window).
Visual* visual = nullptr;
int visual_depth = 0;
XPix* colours = nullptr;

void xdpy_error() {
  if (kReport) std::puts("XDPY error");
}

// Losing the server (killed, connection broken) ends the show with one line, not Xlib's own.
int on_io_error(Display*) {
  std::fputs("krom7316: lost the X display\n", stderr);
  std::exit(1);
}

// XGetImage of a window that does not lie wholly on the screen (a screen smaller than the
// frame, a window pushed partly off it) fails with BadMatch, which Xlib's default handler turns
// into a message and the end of the process. The failure is caught instead and the X image is
// then made on the client side: its pixels are overwritten at once in any case.
bool get_image_failed = false;

int on_get_image_error(Display*, XErrorEvent*) {
  get_image_failed = true;
  return 0;
}

XImage* make_image(Display* d, int32_t width, int32_t height) {
  get_image_failed = false;
  XErrorHandler previous = XSetErrorHandler(on_get_image_error);
  XImage* image = XGetImage(d, xshared.window, 0, 0, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
  XSetErrorHandler(previous);
  if (image && !get_image_failed) return image;
  if (image) XDestroyImage(image);
  image = XCreateImage(d, visual, unsigned(visual_depth), ZPixmap, 0, nullptr,
                       unsigned(width), unsigned(height), 32, 0);
  if (!image) return nullptr;
  image->data = static_cast<char*>(std::calloc(std::size_t(image->bytes_per_line), std::size_t(height)));
  if (!image->data) {
    XDestroyImage(image);
    return nullptr;
  }
  return image;
}

// The default visual when it is TrueColor; otherwise the deepest TrueColor visual of the screen
// (an 8-bit display may offer one beside its PseudoColor default). False when there is none: the
// frames' colours cannot be shown through a colour map of 256 entries.
bool choose_visual(Display* d, int screen) {
  if (DefaultVisual(d, screen)->c_class == TrueColor) {
    visual = DefaultVisual(d, screen);
    visual_depth = DefaultDepth(d, screen);
    return true;
  }
  XVisualInfo info;
  for (int depth : {24, 30, 32, 16, 15, 12, 8}) {
    if (XMatchVisualInfo(d, screen, depth, TrueColor, &info)) {
      visual = info.visual;
      visual_depth = info.depth;
      return true;
    }
  }
  return false;
}

void put_frame(Display* d) {
  XPutImage(d, xshared.window, xshared.gc, cached, 0, 0, 0, 0, unsigned(cached->width), unsigned(cached->height));
  XFlush(d);
}

}  // namespace

XShared xshared;

XDpy* xdpy_new() {
  if (!xshared.display) {
    xshared.display = XOpenDisplay(nullptr);
    if (!xshared.display) {
      std::fprintf(stderr, "krom7316: cannot open X display \"%s\"\n", XDisplayName(nullptr));
      std::exit(1);
    }
    XSetIOErrorHandler(on_io_error);
  }
  if (the_record) return the_record;
  XDpy* dpy = static_cast<XDpy*>(std::calloc(1, sizeof(XDpy)));
  if (!dpy) {
    xdpy_error();
    return nullptr;
  }
  Display* d = xshared.display;
  const int screen = DefaultScreen(d);
  xshared.root = RootWindow(d, screen);
  if (!choose_visual(d, screen)) {
    std::fprintf(stderr, "krom7316: the X display has no TrueColor visual (%d-bit colour map only); "
                         "use a display of 15, 16, 24 or 30 bits\n", DefaultDepth(d, screen));
    std::exit(1);
  }
  colours = xpix_new(uint32_t(visual->red_mask), uint32_t(visual->green_mask), uint32_t(visual->blue_mask));
  if (!colours) {
    std::fprintf(stderr, "krom7316: cannot use the X display's pixel layout (masks %#lx %#lx %#lx)\n",
                 visual->red_mask, visual->green_mask, visual->blue_mask);
    std::exit(1);
  }
  const unsigned long border = xpix_pixel(colours, 0xffffff);
  const unsigned long background = xpix_pixel(colours, 0x0080ff);
  if (visual == DefaultVisual(d, screen)) {
    xshared.gc = DefaultGC(d, screen);
    xshared.window = XCreateSimpleWindow(d, xshared.root, 0, 0, 256, 256, 2, border, background);
  } else {
    // Another visual than the root's needs its own colour map, and a graphics context of its depth.
    XSetWindowAttributes set = {};
    set.background_pixel = background;
    set.border_pixel = border;
    set.colormap = XCreateColormap(d, xshared.root, visual, AllocNone);
    xshared.window = XCreateWindow(d, xshared.root, 0, 0, 256, 256, 2, visual_depth, InputOutput, visual,
                                   CWBackPixel | CWBorderPixel | CWColormap, &set);
    if (xshared.window != 0) xshared.gc = XCreateGC(d, xshared.window, 0, nullptr);
  }
  if (xshared.window == 0) {
    xdpy_error();
    std::free(dpy);
    return nullptr;
  }
  dpy->width = 256;
  dpy->height = 256;
  dpy->depth = DefaultDepth(d, 0);
  // A window manager's close button ends the show like ESC instead of killing the connection.
  xshared.wm_protocols = XInternAtom(d, "WM_PROTOCOLS", False);
  xshared.wm_delete = XInternAtom(d, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(d, xshared.window, &xshared.wm_delete, 1);
  XFlush(d);
  XMapWindow(d, xshared.window);
  XRaiseWindow(d, xshared.window);
  XFlush(d);
  XSelectInput(d, xshared.window, kWindowEvents);
  the_record = dpy;
  xdpy_resize(dpy, 256, 256);
  XStoreName(d, xshared.window, "KROM7316");
  XFlush(d);
  return dpy;
}

void xdpy_resize(XDpy* dpy, int32_t width, int32_t height) {
  if (!dpy || width < 0 || height < 0 || !xshared.display || !xshared.window) {
    xdpy_error();
    return;
  }
  // X sizes are at least 1 and at most 65535.
  const unsigned w = unsigned(width < 1 ? 1 : width > 65535 ? 65535 : width);
  const unsigned h = unsigned(height < 1 ? 1 : height > 65535 ? 65535 : height);
  XResizeWindow(xshared.display, xshared.window, w, h);
  XFlush(xshared.display);
  dpy->depth = DefaultDepth(xshared.display, 0);
  dpy->width = width;
  dpy->height = height;
  XFlush(xshared.display);
}

void xdpy_present(XDpy* dpy, const Image* image) {
  if (!dpy || !img_valid(image) || !xshared.display || !xshared.window) {
    xdpy_error();
    return;
  }
  Display* d = xshared.display;
  XGetWindowAttributes(d, xshared.window, &attributes);
  if (image->width != dpy->width || image->height != dpy->height || attributes.width != image->width ||
      attributes.height != image->height) {
    xdpy_resize(dpy, image->width, image->height);
  }
  XGetWindowAttributes(d, xshared.window, &attributes);
  if (attributes.map_state != IsViewable) return;
  if (image->width < 1 || image->height < 1) return;
  // The cached X image serves every frame of its size; a frame of another size re-makes it.
  if (cached && (cached->width != image->width || cached->height != image->height)) {
    XDestroyImage(cached);
    cached = nullptr;
  }
  if (!cached) {
    cached = make_image(d, image->width, image->height);
    if (!cached) return;
  }
  XFlush(d);
  const int32_t w = image->width;
  const int32_t h = image->height;
  const XPixFormat format = {cached->bits_per_pixel, cached->byte_order == MSBFirst, cached->bytes_per_line};
  if (xpix_plain(colours, format, w)) {
    std::memcpy(cached->data, image->pixels, std::size_t(w) * std::size_t(h) * 4);
  } else if (!xpix_convert(colours, image, format, reinterpret_cast<uint8_t*>(cached->data))) {
    // A pixel size the table pass does not write (fewer than 8 bits): Xlib places each pixel.
    for (int32_t row = 0; row < h; ++row) {
      const uint32_t* src = img_row(image, row);
      for (int32_t col = 0; col < w; ++col) XPutPixel(cached, col, row, xpix_pixel(colours, src[col]));
    }
  }
  xshared.redraw = false;
  put_frame(d);
}

// While paused: the last frame again after the window was exposed, reshaped or shown again.
static void redraw_frozen_frame() {
  if (!xshared.redraw) return;
  xshared.redraw = false;
  Display* d = xshared.display;
  if (!d || !xshared.window || !the_record || !cached) return;
  // As a frame would: back to the frame size, nothing drawn while the window cannot be seen.
  XGetWindowAttributes(d, xshared.window, &attributes);
  if (attributes.width != cached->width || attributes.height != cached->height)
    xdpy_resize(the_record, cached->width, cached->height);
  XGetWindowAttributes(d, xshared.window, &attributes);
  if (attributes.map_state != IsViewable) return;
  put_frame(d);
}

void xdpy_wait_input(int32_t ms) {
  if (!xshared.display) return;
  redraw_frozen_frame();
  if (XPending(xshared.display) > 0) return;
  pollfd p = {ConnectionNumber(xshared.display), POLLIN, 0};
  poll(&p, 1, ms);
}
