// SOUNDMIX: the sixteen-voice mixer. Each frame output = (output + sum of voice * volume) / 16;
// the voices are owned Samples replaced one at a time by the soundtrack (list_set on `voices`,
// sample_set on `volumes`), the output loop is what the sound device queue plays.
#pragma once
#include <cstdint>

struct List;
struct Sample;

constexpr int32_t SOUNDMIX_VOICES = 16;

// Describes a stream; nothing in the mixing reads it.
struct SoundFormat {
  int32_t rate;        // 44100
  int32_t width;       // bits per sample, 16
  int32_t channels;    // 1
  char sign;           // 's'
  char byte_order;     // 'l'
};

struct SoundMix {
  SoundFormat input_format;
  SoundFormat output_format;
  List* voices;        // owned list of 16 owned Samples, each empty at creation
  Sample* volumes;     // owned, 16 gains in 16.16 fixed point, all 0x10000
  Sample* output;      // owned mix loop; 44100 at creation, the soundtrack sets 160000
  // The fast mix keeps the sum of the voice terms, (voice * volume) >> 16 added with 32-bit
  // wrap-around, per output element: integer sums are exact, so a frame only has to add it to
  // the output and divide. It is rebuilt when a voice's storage, length or volume, the voice
  // count or the output length differs from what it was built from, or after
  // soundmix_voices_changed (a voice written in place, or freed and cloned into the same storage).
  int32_t* voice_sum;          // owned, voice_sum_length elements, or null
  int32_t voice_sum_length;
  bool voice_sum_valid;
  int32_t seen_count;
  const int32_t* seen_data[SOUNDMIX_VOICES];
  int32_t seen_length[SOUNDMIX_VOICES];
  int32_t seen_volume[SOUNDMIX_VOICES];
};

SoundMix* soundmix_new();            // null (after the report) when memory runs out
void soundmix_free(SoundMix** x);    // frees every voice, the lists and the output
void soundmix_mix(SoundMix* x);      // one frame of mixing, from the kept voice sum
// Tells the mixer that voices were replaced or changed: the next soundmix_mix rebuilds its sum.
void soundmix_voices_changed(SoundMix* x);
void soundmix_mix_reference(SoundMix* x);  // the same result, one full pass per voice
