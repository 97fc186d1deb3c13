// The platform seam for the real show: wall-clock sleeping, the time as seed, and the OSS
// sound device through the system calls.
#include "platform/platform.h"

#include <fcntl.h>
#include <sys/ioctl.h>
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
              "p pause, w white background. Sound goes to /dev/dsp.");
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

int snddev_open(const char* path, int flags) { return open(path, flags, 0); }
int snddev_ioctl(int fd, unsigned long request, int* arg) { return arg ? ioctl(fd, request, arg) : ioctl(fd, request, 0); }
long snddev_write(int fd, const void* data, std::size_t bytes) { return long(write(fd, data, bytes)); }
void snddev_close(int fd) {
  if (fd >= 0) close(fd);
}
