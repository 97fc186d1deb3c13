// The platform seam. The show calls only these functions (and those of xdpy.h, xkbd.h, fps.h);
// platform/x11 implements them for the window and the real sound device, platform/headless for
// the recorder (frames to PNG, sound to WAV, scripted keys, no sleeping).
#pragma once
#include <cstddef>
#include <cstdint>

struct Fps;

// Reads the command line before anything else. Platforms that take options may print the usage
// and ask to stop at once (platform_should_stop), leaving the status to platform_finish.
void platform_init(int argc, char** argv);
// Asked by the show's loops (scene sequence, frame loop, fade, pause): true once the platform
// wants the show to end, e.g. the recorder at its frame limit. The window never asks.
bool platform_should_stop();
// Ends the platform's outputs; returns the status the process ends with: `status`, unless the
// platform chose another (a failed output, a signal, bad usage).
int platform_finish(int status);
// Seconds used to seed the random generator at start-up (the current time, or a chosen seed).
long platform_seed_time();
// A monotonic clock in microseconds (it never steps), for the pacer's deadlines.
double platform_clock_us();
// Sleeps until the monotonic clock reads `deadline_us` (at once when it has passed).
void platform_sleep_until_us(double deadline_us);
// Told when a frame's work is measured (fps_end) and when a scene starts (its name).
void platform_frame_done(const Fps* fps);
void platform_scene_begin(const char* name);

// The sound output, used by XSND only. A backend takes finished blocks of signed 16-bit mono
// samples at 44100 per second (little-endian words) and never blocks the frame loop. Each
// platform chooses its backends in snddev_open; writing and closing go through the backend's
// own table, so XSND never knows which one it has.
struct SndDev;
struct SndDevOps {
  const char* name;                                                 // "oss", "alsa", ...
  long (*write)(SndDev* dev, const int16_t* samples, int32_t count);   // samples taken, or -1
  void (*close)(SndDev* dev);                                       // also frees dev
};
// Every backend's record begins with this header.
struct SndDev {
  const SndDevOps* ops;
};
// What an opened backend agreed to: the device's answers to the sample rate (44100 asked),
// the format (16, signed 16-bit little-endian), the channels (0, mono) and its block in bytes.
struct SndDevAnswer {
  int32_t rate;
  int32_t format;
  int32_t stereo;
  int32_t block_bytes;
};
// One way of opening a backend; null (silently) when it cannot be had.
using SndDevOpen = SndDev* (*)(const char* path, SndDevAnswer* answer);

// The platform's sound output; `path` names the OSS device, which is tried first where the
// platform has one. Null, silently, when there is no output at all.
SndDev* snddev_open(const char* path, SndDevAnswer* answer);
// The first of `count` backends that opens, in order; null when none does.
SndDev* snddev_open_first(const SndDevOpen* backends, int count, const char* path, SndDevAnswer* answer);
// Hands `count` samples to the backend: returns how many it took (0 .. count), -1 on failure.
long snddev_write(SndDev* dev, const int16_t* samples, int32_t count);
// Closes the backend and nulls the caller's reference.
void snddev_close(SndDev** dev);
