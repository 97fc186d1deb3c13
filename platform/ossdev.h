// OSSDEV: the OSS sound device as a sound backend. Opens the device non-blocking and sets it up
// for signed 16-bit little-endian mono at 44100 per second; each block is one non-blocking
// write, and whatever the device does not take at once is dropped, so playback follows the
// frame loop. The system calls come through a table, so tests can stand in for the device.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

// Open flags: O_WRONLY | O_APPEND | O_NONBLOCK | O_ASYNC (0x2C01 on Linux).
constexpr int OSSDEV_OPEN_FLAGS = 0x2C01;
// Fragment request: unlimited fragments of 2^12 = 4096 bytes (2048 samples), the smallest power
// of two that holds one frame at 25 frames per second (1764 samples).
constexpr int OSSDEV_FRAGMENT = 0x7fff000c;

// The system calls the backend makes, with the meaning and results of open, ioctl, write, close.
struct OssSys {
  int (*open)(const char* path, int flags);
  int (*ioctl)(int fd, unsigned long request, int* arg);   // arg null: a request without one
  long (*write)(int fd, const void* data, std::size_t bytes);
  void (*close)(int fd);
};

extern const OssSys ossdev_system;   // the real calls

// Opens and configures the device at `path` through `sys`: reset, fragment hint, format twice,
// channels, speed, block size, in that order. On success fills `answer` with the device's
// answers; null (the device not held) when the open or any request but the hint fails.
SndDev* ossdev_open_with(const OssSys* sys, const char* path, SndDevAnswer* answer);
// The same through the real system calls.
SndDev* ossdev_open(const char* path, SndDevAnswer* answer);
// The descriptor of an OSS backend, -1 for null or another backend.
int ossdev_descriptor(const SndDev* dev);
