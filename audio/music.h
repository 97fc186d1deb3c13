// MUSIC: the generative sequencer. Owns the instrument bank; every `period` ticks (frames) it
// builds a new `pattern`: one random instrument repeated 1, 2, 4 or 8 times across the 160000-
// sample loop, at a loudness falling with the repeat count and a random sixteenth offset.
#pragma once
#include <cstdint>

struct List;
struct Sample;

constexpr int32_t MUSIC_LOOP_LENGTH = 160000;   // samples per loop, about 3.63 s
constexpr int32_t MUSIC_PERIOD = 300;           // default frames between patterns

struct Music {
  int32_t countdown;     // frames until the next pattern; 0 right after a tick made one
  int32_t period;        // frames from one pattern to the next (>= 1); scenes write it directly
  Sample* loop;          // owned; only its length (160000) is used
  List* instruments;     // owned list of owned Sample, in the order added
  Sample* pattern;       // owned; the latest pattern (loop length), null until the first
};

Music* music_new();                               // countdown 0, period 300; null on failure
void music_free(Music** m);                       // frees pattern, loop and every instrument
void music_add_instrument(Music* m, Sample* s);   // m takes ownership of s; null: nothing
void music_tick(Music* m);                        // one frame; makes a pattern when the count runs out
void music_new_pattern(Music* m);                 // draws rand() six times (none without instruments)
