// The platform seam for the real show: wall-clock sleeping, the time as seed, and the sound
// output (the OSS device, else ALSA).
#include "platform/platform.h"
#include "platform/ossdev.h"
#include "platform/sound/alsadev.h"

#include <unistd.h>

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

void platform_sleep_us(int32_t us) {
  if (us > 0) usleep(useconds_t(us));
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
