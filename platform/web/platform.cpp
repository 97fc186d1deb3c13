// The platform seam in a web page (WebAssembly): the page's clock, sleeps that give the browser
// its turn until the next animation frame past the deadline, and the seed from the page. (The
// Linux system library's random sequence replaces the browser C library's in randlibc.cpp.)
#include "platform/platform.h"

#include <emscripten.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>

#include "platform/web/web.h"

namespace {

// The seed the page pins (a "seed" parameter in its address), or -1 for the current time.
EM_JS(double, web_pinned_seed, (), {
  const s = Module['kromSeed'];
  return (typeof s === 'number' && s >= 0) ? s : -1;
});

EM_JS(double, web_now_us, (), { return performance.now() * 1000; });

// Resolves at the first animation frame whose time has reached the deadline: the show steps
// in fixed periods whatever the screen's refresh rate. A screen that refreshes more slowly than
// the show's frames come (power saving, 30 Hz modes) would slow the show down and starve its
// sound: there a timer ends the wait at the deadline, and each refresh shows the frame current
// then. (A hidden page gets no animation frames and no timer: the show waits until it is shown.)
// A page that steps the show itself (its test hook, "kromManual") hands out frames one at a time
// through "kromCredit" instead.
EM_ASYNC_JS(void, web_wait_frame_until, (double deadline_us), {
  Module['kromSleeps'] = (Module['kromSleeps'] || 0) + 1;
  await new Promise(function(resolve) {
    let done = false;
    function finish() {
      if (!done) { done = true; resolve(); }
    }
    function manual() {
      if (Module['kromCredit'] > 0) { Module['kromCredit']--; resolve(); }
      else setTimeout(manual, 1);
    }
    // The refresh interval, smoothed over animation frames that follow one another (a longer
    // gap is a wait that asked for none, not a refresh).
    function tick(t) {
      const last = Module['kromLastRefresh'];
      Module['kromLastRefresh'] = t;
      const gap = t - last;
      if (gap > 0 && gap < 200) Module['kromRefreshMs'] = 0.9 * (Module['kromRefreshMs'] || gap) + 0.1 * gap;
      if (done) return;
      if (performance.now() * 1000 >= deadline_us) finish();
      else requestAnimationFrame(tick);
    }
    if (Module['kromManual']) { manual(); return; }
    requestAnimationFrame(tick);
    if (!document.hidden && (Module['kromRefreshMs'] || 0) > 21) {
      setTimeout(finish, Math.max(0, deadline_us / 1000 - performance.now()));
    }
  });
  Module['kromFrameStart'] = performance.now();
});

// The frame work times the page's test hook reads ("kromWork", microseconds, the last 4096):
// from the end of the pacer's wait to the end of the frame's work, on the page's clock, which
// is finer than the millisecond wall clock the pacer's own measure comes from here.
EM_JS(void, web_note_work, (), {
  const start = Module['kromFrameStart'];
  if (start === undefined) return;
  const w = Module['kromWork'] || (Module['kromWork'] = []);
  if (w.length >= 4096) w.shift();
  w.push((performance.now() - start) * 1000);
  // A frame that did not start from a wait (after a scene's set-up or a fade) is not measured.
  Module['kromFrameStart'] = undefined;
});

}  // namespace

void platform_init(int, char**) {}

// The show's loops may ask whether the platform wants them to end, and the exit path lets the
// platform close its outputs and choose the status. The page never asks to stop (the viewer's
// ESC ends the show), and it has nothing to close: the audio worklet simply runs dry.
bool platform_should_stop() { return false; }
int platform_finish(int status) { return status; }

long platform_seed_time() {
  const double pinned = web_pinned_seed();
  return pinned >= 0 ? long(pinned) : long(std::time(nullptr));
}

double platform_clock_us() { return web_now_us(); }

void platform_sleep_until_us(double deadline_us) {
  web_paced_sleep();
  web_wait_frame_until(deadline_us);
}

void platform_frame_done(const Fps*) { web_note_work(); }
void platform_scene_begin(const char*) {}
