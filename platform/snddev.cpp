// SNDDEV: the sound-output seam. The calls every backend shares: choosing the first backend
// that opens, handing it a block, closing it.
#include "platform/platform.h"

SndDev* snddev_open_first(const SndDevOpen* backends, int count, const char* path, SndDevAnswer* answer) {
  if (!backends || !answer) return nullptr;
  for (int i = 0; i < count; ++i) {
    if (!backends[i]) continue;
    SndDevAnswer got = *answer;
    SndDev* dev = backends[i](path, &got);
    if (dev) {
      *answer = got;
      return dev;
    }
  }
  return nullptr;
}

long snddev_write(SndDev* dev, const int16_t* samples, int32_t count) {
  if (!dev || !dev->ops || !dev->ops->write || count < 0 || (count > 0 && !samples)) return -1;
  return dev->ops->write(dev, samples, count);
}

void snddev_close(SndDev** dev) {
  if (!dev || !*dev) return;
  SndDev* d = *dev;
  *dev = nullptr;
  if (d->ops && d->ops->close) d->ops->close(d);
}
