// XDPY on Xlib: the one window, kept at the frame size, and the per-frame XPutImage. The
// display connection, window, graphics context, attributes and the cached X image live for the
// whole process, one of each.
#include "platform/xdpy.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "image/ident.h"
#include "image/img.h"
#include "platform/x11/xshared.h"

namespace {

[[maybe_unused]] constexpr Identity kIdentity = {"XDPY    ", "20150812", "Kelvardo", "XWINDOWS", "CODE    "};
constexpr bool kReport = false;
constexpr long kEventMask = 0x204f;   // key press/release, button press/release, motion

XDpy* the_record = nullptr;
XWindowAttributes attributes;
XImage* cached = nullptr;

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
  const int screen = DefaultScreen(d);
  image = XCreateImage(d, DefaultVisual(d, screen), unsigned(DefaultDepth(d, screen)), ZPixmap, 0, nullptr,
                       unsigned(width), unsigned(height), 32, 0);
  if (!image) return nullptr;
  image->data = static_cast<char*>(std::calloc(std::size_t(image->bytes_per_line), std::size_t(height)));
  if (!image->data) {
    XDestroyImage(image);
    return nullptr;
  }
  return image;
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
  xshared.gc = DefaultGC(d, screen);
  xshared.window = XCreateSimpleWindow(d, xshared.root, 0, 0, 256, 256, 2, 0xffffff, 0x0080ff);
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
  XSelectInput(d, xshared.window, kEventMask);
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
  constexpr int kHostOrder = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
  if (cached->bits_per_pixel == 32 && cached->bytes_per_line == w * 4 && cached->byte_order == kHostOrder) {
    std::memcpy(cached->data, image->pixels, std::size_t(w) * std::size_t(h) * 4);
  } else {
    // Another layout of the words (padded rows, 24 bits per pixel, the other byte order): Xlib
    // places each word. The value itself is not converted: visuals other than 24-bit TrueColor
    // show wrong colours.
    for (int32_t row = 0; row < h; ++row) {
      const uint32_t* src = img_row(image, row);
      for (int32_t col = 0; col < w; ++col) XPutPixel(cached, col, row, src[col]);
    }
  }
  XPutImage(d, xshared.window, xshared.gc, cached, 0, 0, 0, 0, unsigned(w), unsigned(h));
  XFlush(d);
}

void xdpy_wait_input(int32_t ms) {
  if (!xshared.display) return;
  if (XPending(xshared.display) > 0) return;
  pollfd p = {ConnectionNumber(xshared.display), POLLIN, 0};
  poll(&p, 1, ms);
}
