// The running soundtrack: the one Music, the one 16-voice SoundMix and the output stream.
// soundtrack_init synthesises the 288 instruments once; soundtrack_pump runs once per frame.
#pragma once

struct Music;
struct SoundMix;
struct XSnd;
struct Sample;

struct Soundtrack {
  Music* music;       // sequencer; scenes set music->period
  SoundMix* mixer;    // 16 voices, output of the loop length
  XSnd* stream;       // set by the start-up before soundtrack_init; may be null
  Sample* scratch;    // the instrument builder's scratch buffer, kept
};

extern Soundtrack soundtrack;

void soundtrack_init();   // uses soundtrack.stream as set by the caller
void soundtrack_pump();
