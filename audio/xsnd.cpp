// XSND: the sound-device stream; one non-blocking write per frame from a queue of Samples.
#include "audio/xsnd.h"

#include <bit>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include "audio/list.h"
#include "audio/sample.h"
#include "image/ident.h"
#include "platform/platform.h"

namespace {

[[maybe_unused]] constexpr Identity kIdentity = {"XSND    ", "20150806", "LINUX   ", "Kelvardo",
                                                 "CODE    "};

constexpr bool kReport = false;

void xsnd_error() {
  if (kReport) puts("XSND error");
}

// OSS requests (the codes of the OSS sound-card interface on Linux).
constexpr unsigned long kReset = 0x5000;             // SNDCTL_DSP_RESET
constexpr unsigned long kSetFragment = 0xC004500A;   // SNDCTL_DSP_SETFRAGMENT
constexpr unsigned long kSetFormat = 0xC0045005;     // SNDCTL_DSP_SETFMT
constexpr unsigned long kStereo = 0xC0045003;        // SNDCTL_DSP_STEREO
constexpr unsigned long kSpeed = 0xC0045002;         // SNDCTL_DSP_SPEED
constexpr unsigned long kGetBlockSize = 0xC0045004;  // SNDCTL_DSP_GETBLKSIZE
constexpr int32_t kFormatS16LE = 16;                 // AFMT_S16_LE

bool valid_frame_rate(int32_t rate) { return rate >= 1 && rate <= XSND_RATE; }

// The low-order half word of v as a signed 16-bit value, in little-endian byte order.
int16_t to_wire(int32_t v) {
  uint16_t h = uint16_t(uint32_t(v));
  if constexpr (std::endian::native == std::endian::big) h = uint16_t((h >> 8) | (h << 8));
  return int16_t(h);
}

// Reset, fragment hint, format (twice), channels, speed and block size, in that order. A refused
// fragment hint is no failure: the per-write cap keeps large blocks to one frame's worth.
bool configure(XSnd* x) {
  const int fd = x->descriptor;
  if (snddev_ioctl(fd, kReset, nullptr) < 0) return false;
  int fragment = XSND_FRAGMENT;
  snddev_ioctl(fd, kSetFragment, &fragment);
  int value = kFormatS16LE;
  if (snddev_ioctl(fd, kSetFormat, &value) < 0) return false;
  value = x->format;
  if (snddev_ioctl(fd, kSetFormat, &value) < 0) return false;
  x->format = value;
  value = x->stereo;
  if (snddev_ioctl(fd, kStereo, &value) < 0) return false;
  x->stereo = value;
  value = x->rate;
  if (snddev_ioctl(fd, kSpeed, &value) < 0) return false;
  x->rate = value;
  value = 0;
  if (snddev_ioctl(fd, kGetBlockSize, &value) < 0) return false;
  x->block_size = value;
  return true;
}

}  // namespace

XSnd* xsnd_new() { return xsnd_open("/dev/dsp", XSND_FRAME_RATE); }

XSnd* xsnd_open(const char* path, int32_t frame_rate) {
  XSnd* x = static_cast<XSnd*>(calloc(1, sizeof(XSnd)));
  if (!x) {
    xsnd_error();
    return nullptr;
  }
  x->rate = XSND_RATE;
  x->format = kFormatS16LE;
  x->stereo = 0;
  x->sign = 's';
  x->byte_order = 'l';
  x->pending = list_new();
  x->path = path;
  x->frame_rate = valid_frame_rate(frame_rate) ? frame_rate : XSND_FRAME_RATE;
  x->descriptor = -1;
  if (!path) {
    xsnd_error();
    return x;
  }

  x->descriptor = snddev_open(path, XSND_OPEN_FLAGS);
  if (x->descriptor < 0) {
    x->descriptor = -1;
    xsnd_error();
    return x;
  }
  // A device that refuses its set-up is given back at once, so that it is not held for nothing.
  if (!configure(x) || x->block_size / 2 <= 0) {
    snddev_close(x->descriptor);
    x->descriptor = -1;
    xsnd_error();
    return x;
  }
  x->block_samples = x->block_size / 2;
  if (!x->output) x->output = static_cast<int16_t*>(calloc(size_t(x->block_samples), sizeof(int16_t)));
  if (!x->output) {
    x->block_samples = 0;
    snddev_close(x->descriptor);
    x->descriptor = -1;
    xsnd_error();
  }
  return x;
}

void xsnd_set_frame_rate(XSnd* x, int32_t rate) {
  if (!x || !valid_frame_rate(rate)) {
    xsnd_error();
    return;
  }
  x->frame_rate = rate;
}

int32_t xsnd_chunk_samples(const XSnd* x) {
  if (!x) return 0;
  const int32_t frame = x->frame_rate > 0 ? XSND_RATE / x->frame_rate : x->block_samples;
  return x->block_samples < frame ? x->block_samples : frame;
}

int32_t xsnd_play(XSnd* x) {
  if (!x) {
    xsnd_error();
    return 0;
  }
  if (!x->pending) {
    x->pending = list_new();
    return 0;
  }
  if (x->pending->count <= 0) return 0;
  Sample* head = static_cast<Sample*>(list_get(x->pending, 0));
  x->current = head;
  if (!head) return 0;

  const int32_t chunk = xsnd_chunk_samples(x);
  const int32_t start = x->position;
  int32_t n;
  if (int64_t(start) + chunk > head->length) {
    // The tail of the head goes out on its own; the next entry starts fresh on the next call.
    list_remove(x->pending, 0);
    n = head->length - start;
    if (n < 0) n = 0;
    x->position = 0;
  } else {
    n = chunk;
    x->position = start + n;
  }

  if (x->output && x->descriptor >= 0) {
    if (!head->data) n = 0;
    const int32_t* src = n > 0 ? head->data + start : nullptr;
    int16_t* dst = x->output;
    for (int32_t i = 0; i < n; ++i) dst[i] = to_wire(src[i]);
    // Non-blocking: whatever the device does not take now is dropped.
    const long accepted = snddev_write(x->descriptor, dst, size_t(n) * sizeof(int16_t));
    if (accepted > 0) x->written = int32_t(uint32_t(x->written) + uint32_t(accepted / 2));
  }
  return x->pending->count > 0 ? 1 : 0;
}

void xsnd_free(XSnd** x) {
  if (!x || !*x) {
    xsnd_error();
    return;
  }
  XSnd* s = *x;
  if (s->descriptor >= 0) snddev_close(s->descriptor);
  free(s->output);
  if (s->pending) list_free(&s->pending);
  free(s);
  *x = nullptr;
}
