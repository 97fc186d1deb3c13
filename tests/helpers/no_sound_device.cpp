// For test programs that link the audio modules without a platform layer: a sound device that
// is never there.
#include <cerrno>

#include "platform/platform.h"

int snddev_open(const char*, int) {
  errno = ENOENT;
  return -1;
}
int snddev_ioctl(int, unsigned long, int*) {
  errno = EBADF;
  return -1;
}
long snddev_write(int, const void*, std::size_t) {
  errno = EBADF;
  return -1;
}
void snddev_close(int) {}
