// SINESCAN: sums of three sine waves along one row, mapped through a ramp or onto a tint.
#include "effects/sinescan.h"

#include <cstdio>
#include <cstdlib>

#include "audio/sample.h"
#include "image/fixed.h"
#include "image/ident.h"
#include "image/img.h"
#include "image/rgb.h"

namespace {

constexpr bool kReport = false;

[[gnu::used]] constexpr Identity kIdentity = {
    "SINESCAN", "20150812", "Kelvardo", "LINUX   ", "CODE    "};

constexpr int32_t kRampLength = 2048;

void sinescan_error() {
  if (kReport) std::puts("SINESCAN error");
}

void build_ramp(Sample* ramp) {
  sample_set_length(ramp, kRampLength);
  for (int32_t i = 0; i < 256; ++i) {
    sample_set(ramp, i, 0);
    sample_set(ramp, i + 256, 0);
    sample_set(ramp, i + 512, 0);
    sample_set(ramp, i + 768, 0);
    sample_set(ramp, i + 1024, i);
    sample_set(ramp, i + 1280, i * 256 + 255);
    sample_set(ramp, i + 1536, i * 65536 + 0xFFFF);
    sample_set(ramp, i + 1792, 0xFFFFFF);
  }
}

// Divisor of the wave sums; a zero divisor (amplitudes summing below 0.5) counts as 1.
int32_t divisor(const SineScan* scan) {
  const int32_t d = wrap_add(wrap_add(scan->waves[0].amplitude, scan->waves[1].amplitude),
                             scan->waves[2].amplitude) >> 15;
  return d == 0 ? 1 : d;
}

// Truncating division that wraps instead of trapping on INT32_MIN / -1.
inline int32_t div_trunc(int32_t v, int32_t d) { return d == -1 ? wrap_neg(v) : v / d; }

// Maps every column to a colour with `colour_of(q)`, q = value / D, writing row y directly
// (the same pixels the clipped per-pixel setter would keep). D is a template constant for the
// usual amplitudes so the division becomes a multiplication.
template <typename ColourOf>
void draw_row(const SineScan* scan, Image* target, int32_t d, ColourOf colour_of) {
  if (scan->y < 0 || scan->y >= target->height) return;
  const int32_t n = scan->width < target->width ? scan->width : target->width;
  const int32_t have = scan->scan ? scan->scan->length : 0;
  const int32_t* values = scan->scan ? scan->scan->data : nullptr;
  const int32_t known = have < n ? have : n;
  uint32_t* row = img_row(target, scan->y);
  int32_t i = 0;
  if (d == 1536) {
    for (; i < known; ++i) row[i] = colour_of(values[i] / 1536);
  } else {
    for (; i < known; ++i) row[i] = colour_of(div_trunc(values[i], d));
  }
  // Columns beyond the evaluated values read as 0, like any read outside a sample.
  if (i < n) {
    const uint32_t c = colour_of(0);
    for (; i < n; ++i) row[i] = c;
  }
}

}  // namespace

SineScan* sinescan_new() {
  auto* scan = static_cast<SineScan*>(std::calloc(1, sizeof(SineScan)));
  if (!scan) {
    sinescan_error();
    return nullptr;
  }
  scan->width = 256;
  scan->height = 256;
  scan->depth = 256;
  scan->scan = sample_new();
  scan->colour_ramp = sample_new();
  sinescan_randomize(scan);
  return scan;
}

void sinescan_free(SineScan** scan) {
  if (!scan || !*scan) {
    sinescan_error();
    return;
  }
  if ((*scan)->scan) sample_free(&(*scan)->scan);
  if ((*scan)->colour_ramp) sample_free(&(*scan)->colour_ramp);
  std::free(*scan);
  *scan = nullptr;
}

void sinescan_randomize(SineScan* scan) {
  if (!scan || scan->height < 1 || scan->width < 0) {
    sinescan_error();
    return;
  }
  scan->x = 0;
  scan->y = std::rand() % scan->height;
  for (SineWave& w : scan->waves) {
    w.phase = std::rand() & sine_phase_mask;
    w.speed = (std::rand() & 0x1FFFFF) - 0xF0000;
    w.step = (std::rand() & 0x1FFFFF) - 0xF0000;
    w.amplitude = 0x1000000;
  }
  scan->tint = uint32_t(std::rand()) & 0xFFFFFF;
  if (!scan->colour_ramp) scan->colour_ramp = sample_new();
  if (scan->colour_ramp) build_ramp(scan->colour_ramp);
  if (!scan->scan) scan->scan = sample_new();
  if (scan->scan) sample_set_length(scan->scan, scan->width);
}

void sinescan_update(SineScan* scan) {
  if (!scan || !scan->scan) {
    sinescan_error();
    return;
  }
  SineWave* w = scan->waves;
  // Masking the starting phases keeps table indices in range even for phases set from outside.
  uint32_t h0 = uint32_t(w[0].phase) & sine_phase_mask;
  uint32_t h1 = uint32_t(w[1].phase) & sine_phase_mask;
  uint32_t h2 = uint32_t(w[2].phase) & sine_phase_mask;
  const uint32_t s0 = uint32_t(w[0].step), s1 = uint32_t(w[1].step), s2 = uint32_t(w[2].step);
  const uint32_t a0 = uint32_t(w[0].amplitude >> FIX_SHIFT);
  const uint32_t a1 = uint32_t(w[1].amplitude >> FIX_SHIFT);
  const uint32_t a2 = uint32_t(w[2].amplitude >> FIX_SHIFT);
  int32_t* out = scan->scan->data;
  const int32_t n = out ? scan->scan->length : 0;
  for (int32_t i = 0; i < n; ++i) {
    // Unsigned products and sums are the 32-bit wrap-around of the signed ones.
    const uint32_t v = uint32_t(int32_t(sine_table[h0 >> FIX_SHIFT])) * a0 +
                       uint32_t(int32_t(sine_table[h1 >> FIX_SHIFT])) * a1 +
                       uint32_t(int32_t(sine_table[h2 >> FIX_SHIFT])) * a2;
    out[i] = int32_t(v);
    h0 = (h0 + s0) & sine_phase_mask;
    h1 = (h1 + s1) & sine_phase_mask;
    h2 = (h2 + s2) & sine_phase_mask;
  }
  for (SineWave& wave : scan->waves) wave.phase = wrap_add(wave.phase, wave.speed) & sine_phase_mask;
}

void sinescan_draw(SineScan* scan, Image* target) {
  if (!scan || !img_valid(target)) {
    sinescan_error();
    return;
  }
  const int32_t d = divisor(scan);
  const Sample* ramp = scan->colour_ramp;
  if (!ramp) {
    const uint32_t tint = scan->tint;
    draw_row(scan, target, d, [tint](int32_t q) { return rgb_shift(tint, q >> 7); });
    return;
  }
  const int32_t half = ramp->length >> 1;
  const uint32_t length = ramp->data ? uint32_t(ramp->length) : 0;
  const int32_t* colours = ramp->data;
  draw_row(scan, target, d, [half, length, colours](int32_t q) {
    const int32_t index = wrap_add(half, wrap_mul(half, q) >> 14);
    return uint32_t(index) < length ? uint32_t(colours[index]) : 0u;
  });
}
