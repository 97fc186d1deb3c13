// XSND: the output stream to the OSS device "/dev/dsp" (16-bit signed little-endian mono,
// 44100 per second). A queue of Sample buffers (not owned); each xsnd_play writes one block.
#pragma once
#include <cstdint>

struct List;
struct Sample;

struct XSnd {
  int32_t rate;            // 44100 requested; the device's answer
  int32_t format;          // 16 (AFMT_S16_LE) requested; the device's answer
  int32_t stereo;          // 0 requested; the device's answer
  char sign;               // 's'
  char byte_order;         // 'l'
  const char* path;        // "/dev/dsp"
  int32_t descriptor;      // negative when opening failed
  int32_t block_size;      // device block in bytes
  List* pending;           // play queue of Sample*, head at 0, not owned
  Sample* current;         // head taken by the latest call
  int32_t position;        // next sample within the head
  int16_t* output;         // owned staging buffer of block_samples values
  int32_t block_samples;   // samples per write; 0 when configuration failed
  int32_t written;         // samples the device accepted
};

XSnd* xsnd_new();                 // opens "/dev/dsp"; a device failure still returns the record
XSnd* xsnd_open(const char* path, int32_t frame_rate);  // the same on another path
int32_t xsnd_play(XSnd* x);       // 1 while the queue still holds entries
void xsnd_set_frame_rate(XSnd* x, int32_t rate);  // at most 44100 / rate samples per write
void xsnd_free(XSnd** x);         // closes the device, frees buffer and queue (not its entries)
