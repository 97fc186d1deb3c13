// XSND: the output stream of the show (16-bit signed little-endian mono, 44100 per second).
// A queue of Sample buffers (not owned); each xsnd_play hands the sound backend one block, at
// most one frame's worth of samples, without waiting. The backend is the platform's (the OSS
// device "/dev/dsp" first), reached only through the snddev_* seam of platform/platform.h. With
// no backend the stream is silent: every later call writes nothing and nothing is printed.
#pragma once
#include <cstdint>

struct List;
struct Sample;
struct SndDev;

constexpr int32_t XSND_RATE = 44100;         // samples per second asked of the device
constexpr int32_t XSND_FRAME_RATE = 50;      // frames per second assumed until told otherwise

struct XSnd {
  int32_t rate;            // 44100 requested; the device's answer
  int32_t format;          // 16 (AFMT_S16_LE) requested; the device's answer
  int32_t stereo;          // 0 requested; the device's answer
  char sign;               // 's'
  char byte_order;         // 'l'
  const char* path;        // "/dev/dsp"
  SndDev* device;          // the open sound backend; null when there is none
  int32_t block_size;      // device block in bytes
  List* pending;           // play queue of Sample*, head at 0, not owned
  Sample* current;         // head taken by the latest call
  int32_t position;        // next sample within the head
  int16_t* output;         // owned staging buffer of block_samples values
  int32_t block_samples;   // device block in samples; 0 when configuration failed
  int32_t written;         // samples the device accepted
  int32_t frame_rate;      // frames per second: a write sends at most 44100 / frame_rate samples
};

XSnd* xsnd_new();                 // opens the output ("/dev/dsp" first) at 50 frames per second; null only without memory
// The same on another path; frame_rate: frames per second, 1 .. 44100 (others give 50).
XSnd* xsnd_open(const char* path, int32_t frame_rate);
// Writes one block from the head of `pending` (the tail of a buffer as a shorter block of its
// own); returns 1 while the queue still holds entries, else 0.
int32_t xsnd_play(XSnd* x);
// rate: frames per second, 1 .. 44100; a write then sends at most 44100 / rate samples.
void xsnd_set_frame_rate(XSnd* x, int32_t rate);
// Samples one xsnd_play sends from a whole block: min(block_samples, 44100 / frame_rate).
int32_t xsnd_chunk_samples(const XSnd* x);
void xsnd_free(XSnd** x);         // closes the backend, frees buffer and queue (not its entries)
