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
};

SoundMix* soundmix_new();            // null (after the report) when memory runs out
void soundmix_free(SoundMix** x);    // frees every voice, the lists and the output
void soundmix_mix(SoundMix* x);      // one frame of mixing, blocked fast path
void soundmix_mix_reference(SoundMix* x);  // the same result, one full pass per voice
