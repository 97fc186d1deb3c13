// XDPY in a web page: the frame goes to the page's 256 x 256 canvas. A present outside the
// paced frame loop (the loading screen, the fades) gives the browser a turn now and then, so
// that it is seen at all: the page only shows the canvas when the show waits.
#include "platform/xdpy.h"

#include <emscripten.h>

#include <cstdint>

#include "image/img.h"
#include "platform/platform.h"
#include "platform/web/web.h"

namespace {

XDpy the_display = {256, 256, 24};
// Presents since the pacer last slept: the first is the paced frame's own. The others (the
// loading screen and the fades, which never sleep) give the browser a turn at the first of a
// run and then once per display frame's worth of work, so that a fade's 256 presents take about
// as long as on a desktop (tens of milliseconds, a few pictures of it seen), not a display
// frame for every few presents. The count starts at 1, so the very first present (the loading
// screen) is seen.
int32_t presents_since_sleep = 1;
double last_yield_us = 0;
constexpr double kUnpacedYieldUs = 16000;

// 0x00RRGGBB words to the canvas's RGBA bytes, once per frame.
EM_JS(void, web_put_frame, (const uint32_t* pixels, int32_t width, int32_t height), {
  const canvas = Module['canvas'];
  if (!canvas) return;
  if (canvas.width !== width || canvas.height !== height) {
    canvas.width = width;
    canvas.height = height;
    Module['kromImage'] = null;
  }
  if (!Module['kromImage']) {
    Module['kromContext'] = canvas.getContext('2d');
    Module['kromImage'] = Module['kromContext'].createImageData(width, height);
  }
  const image = Module['kromImage'];
  const out = new Uint32Array(image.data.buffer);
  const src = HEAPU32.subarray(pixels >> 2, (pixels >> 2) + width * height);
  for (let i = 0; i < src.length; i++) {
    const w = src[i];
    out[i] = 0xff000000 | ((w & 0xff) << 16) | (w & 0xff00) | ((w >>> 16) & 0xff);
  }
  Module['kromContext'].putImageData(image, 0, 0);
  // The test hook: copies of the presents whose indices it asked for (0 = the first present),
  const index = Module['kromFrames'] || 0;
  Module['kromFrames'] = index + 1;
  const grab = Module['kromGrab'];
  if (grab && grab[index] === null) grab[index] = Array.from(src);
  // And keys it scripts by present index: the poll of that frame takes them.
  const keyAt = Module['kromKeyAt'];
  if (keyAt && keyAt[index]) Module['kromKeys'].push([keyAt[index], 0]);
});

EM_ASYNC_JS(void, web_next_animation_frame, (), {
  await new Promise(function(resolve) { requestAnimationFrame(function() { resolve(); }); });
});

}  // namespace

void web_paced_sleep() { presents_since_sleep = 0; }

XDpy* xdpy_new() { return &the_display; }

void xdpy_resize(XDpy* dpy, int32_t width, int32_t height) {
  if (!dpy || width < 0 || height < 0) return;
  dpy->width = width;
  dpy->height = height;
}

void xdpy_present(XDpy* dpy, const Image* image) {
  if (!dpy || !image || !image->pixels) return;
  if (image->width != dpy->width || image->height != dpy->height) xdpy_resize(dpy, image->width, image->height);
  web_put_frame(image->pixels, image->width, image->height);
  if (++presents_since_sleep < 2) return;
  if (presents_since_sleep == 2 || platform_clock_us() - last_yield_us >= kUnpacedYieldUs) {
    web_next_animation_frame();
    last_yield_us = platform_clock_us();
  }
}

void xdpy_wait_input(int32_t ms) { emscripten_sleep(unsigned(ms > 0 ? ms : 0)); }
