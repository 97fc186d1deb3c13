// SOUND: the instrument generators, all at 44100 samples per second: a table-driven sine
// oscillator, a square oscillator, a sample-and-hold noise source and a linear fade-out, plus
// the note table and the three instrument recipes the soundtrack builds its bank from.
#pragma once
#include <cstdint>

struct Sample;

constexpr int32_t SOUND_RATE = 44100;                 // samples per second
constexpr int32_t SOUND_PHASE_SHIFT = 15;             // phase: 15 fraction places, 0x8000 per sample
constexpr int32_t SOUND_SECOND = 44100 * 32768;       // one second in phase units: 1445068800
constexpr int32_t SOUND_INSTRUMENTS = 288;            // tonal 0..95, low 96..191, high 192..287

// Four octaves of equal-tempered semitones from 55 upwards, in cycles per second.
constexpr int32_t sound_note_count = 48;
extern const int32_t sound_note_table[sound_note_count];

// The shared one-period sine wave: 44100 values, peak 32766. Built on first use, never freed.
const Sample* sound_sine_table();

// s: any length; f: cycles per second, 0 < f < 44100; overwrites every element, phase 0 at s[0].
void sound_sine(Sample* s, int32_t f);
// f: cycles per second, 0 < f < 44100; fills the whole cycles that fit (+32767 / 0 / -32768 / 0),
// leaves the elements after the last whole cycle alone. s->length <= 65535.
void sound_square(Sample* s, int32_t f);
// r: new values per second (> 0); holds each rand() value, filled from the end. One rand() call
// up front plus one per change.
void sound_noise(Sample* s, int32_t r);
// Multiplies s by a line from 32767 at element 0 to 0 at the last element, then >> 15.
// Inputs must lie within +-65536.
void sound_fade_out(Sample* s);

// Builds instrument k (0 .. 287) of the bank as a new Sample (null when k is out of range or
// memory runs out). scratch is the builder's work buffer H: its length is set to 44100 for the
// tonal family and 22050 for the others. The noise families draw rand(), so the bank must be
// built in order 0 .. 287 to reproduce the start-up's random sequence.
Sample* sound_instrument(Sample* scratch, int32_t k);
