// SOUNDMIX: sums sixteen voices into the running output loop, once per frame.
#include "audio/soundmix.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include "audio/list.h"
#include "audio/sample.h"
#include "image/fixed.h"
#include "image/ident.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {"SOUNDMIX", "19970503", "Kelvardo", "LINUX   ",
                                                 "CODE    "};

constexpr bool kReport = false;

void soundmix_error() {
  if (kReport) puts("SOUNDMIX error");
}

constexpr SoundFormat kFormat = {44100, 16, 1, 's', 'l'};

// Output elements per block of the fast mix: 8 KiB of output stays in the first-level cache
// while every voice is added into it.
constexpr int32_t kBlock = 2048;

struct VoiceRun {
  const int32_t* data;
  int32_t length;   // common length with the output
  int32_t volume;   // 16.16
};

// out[j] += (v[j] * volume) >> 16, wrapping. Unity gain is the common case: the product with
// 0x10000 followed by >> 16 keeps the low half word, sign-extended.
void add_scaled(int32_t* __restrict out, const int32_t* __restrict v, int32_t n, int32_t volume) {
  if (volume == FIX_ONE) {
    for (int32_t j = 0; j < n; ++j) out[j] = wrap_add(out[j], wrap_shl(v[j], 16) >> 16);
  } else {
    for (int32_t j = 0; j < n; ++j) out[j] = wrap_add(out[j], wrap_mul(v[j], volume) >> 16);
  }
}

// count > 0; the running system always has sixteen voices, so that divisor is a constant.
void divide(int32_t* out, int32_t n, int32_t count) {
  if (count == SOUNDMIX_VOICES) {
    for (int32_t j = 0; j < n; ++j) out[j] /= SOUNDMIX_VOICES;
  } else {
    for (int32_t j = 0; j < n; ++j) out[j] /= count;
  }
}

}  // namespace

SoundMix* soundmix_new() {
  SoundMix* x = static_cast<SoundMix*>(calloc(1, sizeof(SoundMix)));
  if (!x) {
    soundmix_error();
    return nullptr;
  }
  x->input_format = kFormat;
  x->output_format = kFormat;
  x->volumes = sample_new();
  x->voices = list_new();
  x->output = sample_new();
  bool ok = x->volumes && x->voices && x->output;
  if (ok) {
    sample_set_length(x->volumes, SOUNDMIX_VOICES);
    sample_set_length(x->output, 44100);
    ok = x->volumes->length == SOUNDMIX_VOICES && x->output->length == 44100;
  }
  for (int32_t i = 0; ok && i < SOUNDMIX_VOICES; ++i) {
    Sample* voice = sample_new();
    if (voice) list_push(x->voices, voice);
    if (!voice || x->voices->count != i + 1) {
      sample_free(&voice);
      ok = false;
    }
  }
  if (!ok) {
    soundmix_error();
    soundmix_free(&x);
    return nullptr;
  }
  for (int32_t i = 0; i < SOUNDMIX_VOICES; ++i) x->volumes->data[i] = FIX_ONE;
  return x;
}

void soundmix_free(SoundMix** x) {
  if (!x || !*x) {
    soundmix_error();
    return;
  }
  SoundMix* mix = *x;
  if (mix->voices) {
    for (int32_t i = 0; i < mix->voices->count; ++i) {
      Sample* s = static_cast<Sample*>(list_get(mix->voices, i));
      if (s) sample_free(&s);
    }
    list_free(&mix->voices);
  }
  if (mix->volumes) sample_free(&mix->volumes);
  if (mix->output) sample_free(&mix->output);
  free(mix->voice_sum);
  free(mix);
  *x = nullptr;
}

void soundmix_mix_reference(SoundMix* x) {
  if (!x || !x->voices) {
    soundmix_error();
    return;
  }
  const int32_t count = x->voices->count;
  for (int32_t i = 0; i < count; ++i) {
    sample_add_scaled(x->output, static_cast<const Sample*>(list_get(x->voices, i)),
                      sample_get(x->volumes, i));
  }
  sample_div(x->output, count);
}

void soundmix_voices_changed(SoundMix* x) {
  if (x) x->voice_sum_valid = false;
}

namespace {

// Collects the voices that add something. False when the fast paths cannot take the mixer.
bool collect_runs(const SoundMix* x, VoiceRun* runs, int32_t* used) {
  const Sample* out = x->output;
  const int32_t count = x->voices->count;
  *used = 0;
  for (int32_t i = 0; i < count; ++i) {
    const Sample* v = static_cast<const Sample*>(x->voices->items[i]);
    if (v && v->data == out->data) return false;   // the output is its own voice
    const int32_t volume = sample_get(x->volumes, i);
    if (!v || !v->data || volume == 0) continue;    // adds nothing
    const int32_t n = v->length < out->length ? v->length : out->length;
    if (n > 0) runs[(*used)++] = {v->data, n, volume};
  }
  return true;
}

// True when the kept sum was built from exactly these voices.
bool sum_is_current(const SoundMix* x) {
  if (!x->voice_sum_valid || !x->voice_sum || x->voice_sum_length != x->output->length ||
      x->seen_count != x->voices->count) {
    return false;
  }
  for (int32_t i = 0; i < x->seen_count; ++i) {
    const Sample* v = static_cast<const Sample*>(x->voices->items[i]);
    const int32_t* data = v ? v->data : nullptr;
    const int32_t length = v ? v->length : 0;
    if (data != x->seen_data[i] || length != x->seen_length[i] || sample_get(x->volumes, i) != x->seen_volume[i]) {
      return false;
    }
  }
  return true;
}

// Rebuilds the sum of the voice terms; false when its storage cannot be had.
bool rebuild_sum(SoundMix* x, const VoiceRun* runs, int32_t used) {
  const int32_t length = x->output->length;
  if (x->voice_sum_length != length || !x->voice_sum) {
    free(x->voice_sum);
    x->voice_sum = static_cast<int32_t*>(calloc(std::size_t(length), sizeof(int32_t)));
    x->voice_sum_length = x->voice_sum ? length : 0;
    if (!x->voice_sum) return false;
  }
  int32_t* sum = x->voice_sum;
  for (int32_t j = 0; j < length; ++j) sum[j] = 0;
  for (int32_t start = 0; start < length; start += kBlock) {
    const int32_t end = length - start < kBlock ? length : start + kBlock;
    for (int32_t r = 0; r < used; ++r) {
      const int32_t stop = runs[r].length < end ? runs[r].length : end;
      if (stop > start) add_scaled(sum + start, runs[r].data + start, stop - start, runs[r].volume);
    }
  }
  x->seen_count = x->voices->count;
  for (int32_t i = 0; i < x->seen_count; ++i) {
    const Sample* v = static_cast<const Sample*>(x->voices->items[i]);
    x->seen_data[i] = v ? v->data : nullptr;
    x->seen_length[i] = v ? v->length : 0;
    x->seen_volume[i] = sample_get(x->volumes, i);
  }
  x->voice_sum_valid = true;
  return true;
}

// output = (output + sum) / count, element by element, with the wrapping addition.
void add_sum_and_divide(int32_t* __restrict out, const int32_t* __restrict sum, int32_t n, int32_t count) {
  if (count == SOUNDMIX_VOICES) {
    for (int32_t j = 0; j < n; ++j) out[j] = wrap_add(out[j], sum[j]) / SOUNDMIX_VOICES;
  } else {
    for (int32_t j = 0; j < n; ++j) out[j] = wrap_add(out[j], sum[j]) / count;
  }
}

}  // namespace

void soundmix_mix(SoundMix* x) {
  if (!x || !x->voices) {
    soundmix_error();
    return;
  }
  const int32_t count = x->voices->count;
  Sample* out = x->output;
  // Cases the reference reports on, or a voice sharing the output's storage, or more voices
  // than the fast paths keep track of: leave them to the reference.
  VoiceRun runs[SOUNDMIX_VOICES];
  int32_t used = 0;
  if (!out || !out->data || count <= 0 || count > SOUNDMIX_VOICES || !collect_runs(x, runs, &used)) {
    x->voice_sum_valid = false;
    soundmix_mix_reference(x);
    return;
  }
  int32_t* o = out->data;
  const int32_t length = out->length;
  if (sum_is_current(x) || rebuild_sum(x, runs, used)) {
    add_sum_and_divide(o, x->voice_sum, length, count);
    return;
  }
  // No room for the sum: add every voice block by block instead.
  for (int32_t start = 0; start < length; start += kBlock) {
    const int32_t end = length - start < kBlock ? length : start + kBlock;
    for (int32_t r = 0; r < used; ++r) {
      const int32_t stop = runs[r].length < end ? runs[r].length : end;
      if (stop > start)
        add_scaled(o + start, runs[r].data + start, stop - start, runs[r].volume);
    }
    divide(o + start, end - start, count);
  }
}
