// The running soundtrack: the one Music, the one 16-voice SoundMix and the output stream.
// soundtrack_init synthesises the 288 instruments once; soundtrack_pump runs once per frame.
#pragma once

struct Music;
struct SoundMix;
struct XSnd;
struct Sample;

constexpr int SOUNDTRACK_QUEUE = 4;   // at most this many references to the mix are queued

struct Soundtrack {
  Music* music;       // sequencer; scenes set music->period
  SoundMix* mixer;    // 16 voices, output of the loop length
  XSnd* stream;       // set by the start-up before soundtrack_init; may be null
  Sample* scratch;    // the instrument builder's scratch buffer, kept
};

extern Soundtrack soundtrack;

// Creates the music and the mixer, sizes the mix to the loop and builds the 288 instruments
// (draws rand() for the noise families). Uses soundtrack.stream as set by the caller.
void soundtrack_init();
// One frame: tick, mix, move a fresh pattern into a random voice (one rand() draw), queue the
// mix (at most 4 entries) and write one block.
void soundtrack_pump();
// Frees the music, the mixer and the scratch buffer and nulls them; the stream belongs to the
// start-up and stays. The running show never calls it.
void soundtrack_release();
