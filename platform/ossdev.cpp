// OSSDEV: the OSS sound device; set-up in the device's order, one non-blocking write a block.
#include "platform/ossdev.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>

namespace {

// OSS requests (the codes of the OSS sound-card interface on Linux).
constexpr unsigned long kReset = 0x5000;             // SNDCTL_DSP_RESET
constexpr unsigned long kSetFragment = 0xC004500A;   // SNDCTL_DSP_SETFRAGMENT
constexpr unsigned long kSetFormat = 0xC0045005;     // SNDCTL_DSP_SETFMT
constexpr unsigned long kStereo = 0xC0045003;        // SNDCTL_DSP_STEREO
constexpr unsigned long kSpeed = 0xC0045002;         // SNDCTL_DSP_SPEED
constexpr unsigned long kGetBlockSize = 0xC0045004;  // SNDCTL_DSP_GETBLKSIZE
constexpr int32_t kFormatS16LE = 16;                 // AFMT_S16_LE

struct OssDev {
  SndDev base;   // first: the seam's header
  const OssSys* sys;
  int fd;
};

long oss_write_samples(SndDev* dev, const int16_t* samples, int32_t count) {
  OssDev* d = reinterpret_cast<OssDev*>(dev);
  // Non-blocking: whatever the device does not take now is dropped by the caller.
  const long bytes = d->sys->write(d->fd, samples, std::size_t(count) * sizeof(int16_t));
  return bytes < 0 ? -1 : bytes / 2;
}

void oss_close(SndDev* dev) {
  OssDev* d = reinterpret_cast<OssDev*>(dev);
  if (d->fd >= 0) d->sys->close(d->fd);
  std::free(d);
}

constexpr SndDevOps kOssOps = {"oss", oss_write_samples, oss_close};

// Reset, fragment hint, format (twice), channels, speed and block size, in that order. A refused
// fragment hint is no failure: XSND's per-write cap keeps large blocks to one frame's worth.
bool configure(const OssSys* sys, int fd, SndDevAnswer* a) {
  if (sys->ioctl(fd, kReset, nullptr) < 0) return false;
  int fragment = OSSDEV_FRAGMENT;
  sys->ioctl(fd, kSetFragment, &fragment);
  int value = kFormatS16LE;
  if (sys->ioctl(fd, kSetFormat, &value) < 0) return false;
  value = a->format;
  if (sys->ioctl(fd, kSetFormat, &value) < 0) return false;
  a->format = value;
  value = a->stereo;
  if (sys->ioctl(fd, kStereo, &value) < 0) return false;
  a->stereo = value;
  value = a->rate;
  if (sys->ioctl(fd, kSpeed, &value) < 0) return false;
  a->rate = value;
  value = 0;
  if (sys->ioctl(fd, kGetBlockSize, &value) < 0) return false;
  a->block_bytes = value;
  return true;
}

int sys_open(const char* path, int flags) { return open(path, flags, 0); }
int sys_ioctl(int fd, unsigned long request, int* arg) {
  return arg ? ioctl(fd, request, arg) : ioctl(fd, request, 0);
}
long sys_write(int fd, const void* data, std::size_t bytes) { return long(write(fd, data, bytes)); }
void sys_close(int fd) { close(fd); }

}  // namespace

const OssSys ossdev_system = {sys_open, sys_ioctl, sys_write, sys_close};

SndDev* ossdev_open_with(const OssSys* sys, const char* path, SndDevAnswer* answer) {
  if (!sys || !path || !answer) return nullptr;
  OssDev* d = static_cast<OssDev*>(std::calloc(1, sizeof(OssDev)));
  if (!d) return nullptr;
  d->base.ops = &kOssOps;
  d->sys = sys;
  d->fd = sys->open(path, OSSDEV_OPEN_FLAGS);
  SndDevAnswer a = {44100, kFormatS16LE, 0, 0};
  // A device that refuses its set-up is given back at once, so that it is not held for nothing.
  if (d->fd < 0 || !configure(sys, d->fd, &a)) {
    if (d->fd >= 0) sys->close(d->fd);
    std::free(d);
    return nullptr;
  }
  *answer = a;
  return &d->base;
}

SndDev* ossdev_open(const char* path, SndDevAnswer* answer) { return ossdev_open_with(&ossdev_system, path, answer); }

int ossdev_descriptor(const SndDev* dev) {
  if (!dev || dev->ops != &kOssOps) return -1;
  return reinterpret_cast<const OssDev*>(dev)->fd;
}
