// The platform of the unit-test programs: presents go nowhere, no key is ever pressed (a pause
// ends at its next poll, as if P had been pressed), nothing sleeps, and nothing asks the show to
// stop or ends the process, so a test that presents any number of frames runs to its own end.
// The sound output is absent (helpers/no_sound_device.cpp).
#include <ctime>

#include "image/img.h"
#include "platform/fps.h"
#include "platform/platform.h"
#include "platform/xdpy.h"
#include "platform/xkbd.h"

namespace {

XDpy test_display = {256, 256, 24};
char test_key_text[9];
XKbd test_keyboard = {test_key_text, 0};
long test_presents = 0;
long presents_at_last_poll = -1;

}  // namespace

void platform_init(int, char**) {}
long platform_seed_time() { return long(std::time(nullptr)); }
double platform_clock_us() { return now_us(); }
void platform_sleep_until_us(double) {}
void platform_frame_done(const Fps*) {}
void platform_scene_begin(const char*) {}
bool platform_should_stop() { return false; }
int platform_finish(int status) { return status; }

XDpy* xdpy_new() { return &test_display; }
void xdpy_resize(XDpy* dpy, int32_t width, int32_t height) {
  if (!dpy || width < 0 || height < 0) return;
  dpy->width = width;
  dpy->height = height;
}
void xdpy_present(XDpy* dpy, const Image* image) {
  if (dpy && img_valid(image)) ++test_presents;
}
void xdpy_wait_input(int32_t) {}

XKbd* xkbd_new() { return &test_keyboard; }
void xkbd_poll(XKbd* kbd) {
  if (!kbd) return;
  const bool pausing = test_presents == presents_at_last_poll;
  presents_at_last_poll = test_presents;
  if (!pausing) return;
  kbd->text[0] = 'p';
  kbd->text[1] = 0;
  kbd->keycode = 1;
}
