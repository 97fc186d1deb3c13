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
// Sleeps the rest of a frame (microseconds > 0).
void platform_sleep_us(int32_t us);
// Told when a frame's work is measured (fps_end) and when a scene starts (its name).
void platform_frame_done(const Fps* fps);
void platform_scene_begin(const char* name);

// The sound device, used by XSND only: the same meaning and results as open, ioctl, write, close.
int snddev_open(const char* path, int flags);
int snddev_ioctl(int fd, unsigned long request, int* arg);
long snddev_write(int fd, const void* data, std::size_t bytes);
void snddev_close(int fd);
