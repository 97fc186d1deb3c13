// SOUND: sine, square, noise and fade generators, and the recipes of the 288-instrument bank.
#include "audio/sound.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "audio/sample.h"
#include "image/fixed.h"
#include "image/ident.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {"SOUND   ", "19970503", "Kelvardo", "C       ",
                                                 "CODE    "};

constexpr bool kReport = false;

void sound_error() {
  if (kReport) puts("SOUND Error.");
}

constexpr int32_t kFull = 32767;        // envelope start and square top
constexpr int32_t kTonalLength = 44100; // one second
constexpr int32_t kShortLength = 22050; // half a second

// The one sine period, built by the first sound_sine and kept for the rest of the run.
Sample* sine_wave = nullptr;

// Quarter-wave symmetry: the quadrant 0 .. 11025 is evaluated and mirrored into the other
// three. The stores at 44100 - 0 falls past the end and is dropped by sample_set.
Sample* build_sine_wave() {
  Sample* t = sample_new();
  if (!t) return nullptr;
  sample_set_length(t, SOUND_RATE);
  if (t->length != SOUND_RATE) {
    sample_free(&t);
    return nullptr;
  }
  constexpr double kQuarterTurn = 1.5707963705062866;  // pi / 2 rounded to single precision
  for (int32_t i = 0; i <= 11025; ++i) {
    const int32_t v = int32_t(std::sin(double(i) * kQuarterTurn / 11025.0) * 32767.0);
    sample_set(t, i, v);
    sample_set(t, 22050 - i, v);
    sample_set(t, 22050 + i, -v);
    sample_set(t, 44100 - i, -v);
  }
  return t;
}

bool valid_frequency(int32_t f) { return f > 0 && f < SOUND_RATE; }

// Fills d[lo .. hi] (inclusive, clipped to 0 .. n-1) with v.
void fill_run(int32_t* d, int64_t n, int64_t lo, int64_t hi, int32_t v) {
  if (lo < 0) lo = 0;
  if (hi > n - 1) hi = n - 1;
  for (int64_t i = lo; i <= hi; ++i) d[i] = v;
}

// The fade envelope depends on the length alone, and every buffer of one instrument has the
// same length: the recipes build it once and apply it as often as they fade, which gives
// exactly what repeated sound_fade_out calls give.
struct Envelope {
  Sample* ramp = nullptr;
  explicit Envelope(int32_t n) {
    ramp = sample_new();
    if (!ramp) return;
    sample_set_length(ramp, n);
    if (ramp->length != n) {
      sample_free(&ramp);
      return;
    }
    sample_ramp(ramp, 0, kFull, n - 1, 0);
  }
  ~Envelope() {
    if (ramp) sample_free(&ramp);
  }
  Envelope(const Envelope&) = delete;
  Envelope& operator=(const Envelope&) = delete;
};

// s *= envelope, >> 15; the caller's buffers have the envelope's length.
void apply_envelope(Sample* s, const Sample* envelope) {
  int32_t* d = s->data;
  const int32_t* e = envelope->data;
  const int32_t n = s->length < envelope->length ? s->length : envelope->length;
  for (int32_t i = 0; i < n; ++i) d[i] = wrap_mul(d[i], e[i]) >> 15;
}

void fade_times(Sample* s, const Envelope& env, int n) {
  for (int i = 0; i < n; ++i) apply_envelope(s, env.ramp);
}

// Tonal family: a sine with its second and fourth harmonic, one fade.
Sample* tonal_instrument(Sample* h, int32_t k) {
  const int32_t f = sound_note_table[k % sound_note_count];
  sample_set_length(h, kTonalLength);
  Sample* x = sample_new();
  if (x) sample_set_length(x, kTonalLength);
  if (!x || x->length != kTonalLength || h->length != kTonalLength) {
    sample_free(&x);
    return nullptr;
  }
  sound_sine(x, f);
  sample_add(x, x);
  sample_shr(x, f >> 9);
  sound_sine(h, 2 * f);
  sample_shr(h, f >> 10);
  sample_add(x, h);
  sound_sine(h, 4 * f);
  sample_shr(h, f >> 11);
  sample_add(x, h);
  sample_shr(x, 2);
  sound_fade_out(x);  // the only fade of the recipe
  return x;
}

// The low and high families share one recipe: a tone doubled, faded and shifted down by its
// frequency's 512ths, two bursts of noise at multiples of that frequency added in, the sum
// quartered and faded again. They differ in the tone, the frequency and the steepness of fades.
struct NoisyRecipe {
  void (*tone)(Sample*, int32_t);
  int32_t frequency;
  int32_t tone_fades;
  int32_t first_noise, second_noise;   // multiples of the frequency
  int32_t noise_fades;
  int32_t final_fades;
};

Sample* noisy_instrument(Sample* h, const NoisyRecipe& r) {
  const int32_t a = r.frequency;
  sample_set_length(h, kShortLength);
  Sample* x = sample_new();
  if (x) sample_set_length(x, kShortLength);
  const Envelope env(kShortLength);
  if (!x || x->length != kShortLength || h->length != kShortLength || !env.ramp) {
    sample_free(&x);
    return nullptr;
  }
  r.tone(x, a);
  sample_add(x, x);
  fade_times(x, env, r.tone_fades);
  sample_shr(x, a >> 9);
  sound_noise(h, r.first_noise * a);
  fade_times(h, env, r.noise_fades);
  sample_add(x, h);
  sound_noise(h, r.second_noise * a);
  fade_times(h, env, r.noise_fades);
  sample_add(x, h);
  sample_shr(x, 2);
  fade_times(x, env, r.final_fades);
  return x;
}

// Low family: a low sine with two bursts of noise.
Sample* low_instrument(Sample* h, int32_t k) {
  return noisy_instrument(h, {sound_sine, k - 64, 1, 6, 8, 3, 1});
}

// High family: a square tone with two bursts of noise, steep fades.
Sample* high_instrument(Sample* h, int32_t k) {
  return noisy_instrument(h, {sound_square, 16 * k, 5, 8, 16, 5, 5});
}

}  // namespace

const int32_t sound_note_table[sound_note_count] = {
    55,  58,  62,  65,  69,  73,  78,  82,  87,  93,  98,  104,  //
    110, 117, 123, 131, 139, 147, 156, 165, 175, 185, 196, 208,  //
    220, 233, 247, 262, 277, 294, 311, 330, 349, 370, 392, 415,  //
    440, 466, 494, 523, 554, 587, 622, 659, 698, 740, 784, 831,
};

const Sample* sound_sine_table() {
  if (!sine_wave) sine_wave = build_sine_wave();
  return sine_wave;
}

void sound_sine(Sample* s, int32_t f) {
  if (!s || !s->data || !valid_frequency(f)) {
    sound_error();
    return;
  }
  const Sample* table = sound_sine_table();
  if (!table) {
    sound_error();
    return;
  }
  // The phase advances by f * 0x8000 per sample and wraps at one second; in table units that
  // is an index stepping by f and wrapping at 44100.
  const int32_t* wave = table->data;
  int32_t* d = s->data;
  int32_t index = 0;
  for (int32_t i = 0; i < s->length; ++i) {
    d[i] = wave[index];
    index += f;
    if (index >= SOUND_RATE) index -= SOUND_RATE;
  }
}

void sound_square(Sample* s, int32_t f) {
  if (!s || !s->data || !valid_frequency(f)) {
    sound_error();
    return;
  }
  const int64_t period = SOUND_SECOND / f;  // fixed point, 15 fraction places
  const int64_t half = period / 2;
  const int64_t n = s->length;
  const int64_t cycles = (n << SOUND_PHASE_SHIFT) / period;
  int32_t* d = s->data;
  auto put = [d, n](int64_t i, int32_t v) {
    if (i >= 0 && i < n) d[i] = v;
  };
  for (int64_t j = 0; j < cycles; ++j) {
    const int64_t t = j * period;
    const int64_t a = t >> SOUND_PHASE_SHIFT;
    const int64_t m = (t + half) >> SOUND_PHASE_SHIFT;
    const int64_t e = (t + period) >> SOUND_PHASE_SHIFT;
    fill_run(d, n, a, m - 1, kFull);
    put(m, 0);
    fill_run(d, n, m + 1, e - 2, -32768);
    put(m + 1 > e - 1 ? m + 1 : e - 1, 0);
  }
}

void sound_noise(Sample* s, int32_t r) {
  if (!s || !s->data) {
    sound_error();
    return;
  }
  // The counter runs in 64 bits: a rate above 44100 keeps it falling for the whole buffer.
  int32_t held = (rand() & 0xFFFF) - 32768;
  int64_t counter = 22050;
  int32_t* d = s->data;
  for (int32_t i = s->length - 1; i >= 0; --i) {
    counter -= r;
    if (counter < 0) {
      counter += SOUND_RATE;
      held = (rand() & 0xFFFF) - 32768;
    }
    d[i] = held;
  }
}

void sound_fade_out(Sample* s) {
  if (!s || !s->data) {
    sound_error();
    return;
  }
  if (s->length <= 0) return;
  Sample* envelope = sample_new();
  if (!envelope) return;
  sample_set_length(envelope, s->length);
  if (envelope->length != s->length) {
    sample_free(&envelope);
    return;
  }
  sample_ramp(envelope, 0, kFull, s->length - 1, 0);
  apply_envelope(s, envelope);  // sample_mul_sample and sample_shr(15) in one pass
  sample_free(&envelope);
}

Sample* sound_instrument(Sample* scratch, int32_t k) {
  if (!scratch || k < 0 || k >= SOUND_INSTRUMENTS) {
    sound_error();
    return nullptr;
  }
  if (k < 96) return tonal_instrument(scratch, k);
  if (k < 192) return low_instrument(scratch, k);
  return high_instrument(scratch, k);
}
