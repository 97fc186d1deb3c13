// XSND: the sound stream; one block per frame from a queue of Samples to the sound backend.
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

[[gnu::used]] constexpr Identity kIdentity = {"XSND    ", "20150806", "LINUX   ", "Kelvardo",
                                                 "CODE    "};

constexpr bool kReport = false;

void xsnd_error() {
  if (kReport) puts("XSND error");
}

constexpr int32_t kFormatS16LE = 16;   // the format code of signed 16-bit little-endian

bool valid_frame_rate(int32_t rate) { return rate >= 1 && rate <= XSND_RATE; }

// The low-order half word of v as a signed 16-bit value, in little-endian byte order.
int16_t to_wire(int32_t v) {
  uint16_t h = uint16_t(uint32_t(v));
  if constexpr (std::endian::native == std::endian::big) h = uint16_t((h >> 8) | (h << 8));
  return int16_t(h);
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
  if (!path) {
    xsnd_error();
    return x;
  }

  SndDevAnswer answer = {x->rate, x->format, x->stereo, 0};
  x->device = snddev_open(path, &answer);
  if (!x->device) {
    xsnd_error();
    return x;
  }
  x->rate = answer.rate;
  x->format = answer.format;
  x->stereo = answer.stereo;
  x->block_size = answer.block_bytes;
  // A backend without a usable block is given back at once, so that it is not held for nothing.
  if (x->block_size / 2 > 0 && !x->output) {
    x->output = static_cast<int16_t*>(calloc(size_t(x->block_size / 2), sizeof(int16_t)));
  }
  if (x->block_size / 2 <= 0 || !x->output) {
    snddev_close(&x->device);
    xsnd_error();
    return x;
  }
  x->block_samples = x->block_size / 2;
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

  if (x->output && x->device) {
    if (!head->data) n = 0;
    const int32_t* src = n > 0 ? head->data + start : nullptr;
    int16_t* dst = x->output;
    for (int32_t i = 0; i < n; ++i) dst[i] = to_wire(src[i]);
    // The backend never waits: whatever it does not take now is dropped.
    const long accepted = snddev_write(x->device, dst, n);
    if (accepted > 0) x->written = int32_t(uint32_t(x->written) + uint32_t(accepted));
  }
  return x->pending->count > 0 ? 1 : 0;
}

void xsnd_free(XSnd** x) {
  if (!x || !*x) {
    xsnd_error();
    return;
  }
  XSnd* s = *x;
  snddev_close(&s->device);
  free(s->output);
  if (s->pending) list_free(&s->pending);
  free(s);
  *x = nullptr;
}
