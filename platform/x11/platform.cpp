// The platform seam for the real show: wall-clock sleeping, the time as seed, and the sound
// output (the OSS device, else ALSA).
#include "platform/platform.h"
#include "platform/ossdev.h"
#include "platform/sound/alsadev.h"

#include <time.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

void platform_init(int argc, char** argv) {
  if (argc < 2) return;
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    std::puts("usage: krom7316\n"
              "Plays the show in a 256 x 256 window until ESC. Keys: ESC quit, SPACE next scene,\n"
              "5/6 25/50 fps, 8 frame rate, f fade, b blur, g glare, m mirror, u/i scroller speed,\n"
              "p pause, w white background. Sound goes to /dev/dsp when it opens, else to the\n"
              "default ALSA device (the desktop's sound server).");
    std::exit(0);
  }
  std::fprintf(stderr, "krom7316: unknown argument \"%s\"\nusage: krom7316   (no options; see --help)\n", argv[1]);
  std::exit(2);
}

bool platform_should_stop() { return false; }
int platform_finish(int status) { return status; }

long platform_seed_time() { return long(std::time(nullptr)); }

double platform_clock_us() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return double(t.tv_sec) * 1000000.0 + double(t.tv_nsec) / 1000.0;
}

// The deadline is absolute, so a sleep that ends late does not push the next frame later. The
// sleep itself is asked for as the time left: clock-faking preloads used in tests translate
// absolute monotonic deadlines wrongly.
void platform_sleep_until_us(double deadline_us) {
  const double left = deadline_us - platform_clock_us();
  if (!(left > 0) || left > 10e6) return;
  timespec t;
  t.tv_sec = time_t(left / 1000000.0);
  t.tv_nsec = long((left - double(t.tv_sec) * 1000000.0) * 1000.0);
  if (t.tv_nsec > 999999999L) t.tv_nsec = 999999999L;
  timespec rest;
  while (clock_nanosleep(CLOCK_MONOTONIC, 0, &t, &rest) == EINTR) t = rest;
}

void platform_frame_done(const Fps*) {}
void platform_scene_begin(const char*) {}

// The OSS device when it opens (the design's output, and the emulations some people use), else
// the system's default ALSA device: on PulseAudio and PipeWire desktops that is the sound
// server, on bare ALSA the card. With neither the show runs silently.
SndDev* snddev_open(const char* path, SndDevAnswer* answer) {
  static constexpr SndDevOpen kBackends[] = {ossdev_open, alsadev_open};
  return snddev_open_first(kBackends, 2, path, answer);
}
