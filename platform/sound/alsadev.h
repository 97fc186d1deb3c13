// ALSADEV: the system's default ALSA device as a sound backend, for when there is no OSS device.
// On PulseAudio and PipeWire desktops that device is the sound server, on bare ALSA the card. A
// feeder thread keeps the device fed at its own clock from a SndStream (rate control, ramps);
// the frame loop's writes only fill the stream, so they never wait on the device.
#pragma once
#include "platform/platform.h"

// Opens ALSA's "default" playback device for signed 16-bit mono at 44100 per second with at most
// 40 ms of device buffer; `path` is not used. Null, silently, when there is no such device.
SndDev* alsadev_open(const char* path, SndDevAnswer* answer);
// The same on a named ALSA device.
SndDev* alsadev_open_named(const char* name, SndDevAnswer* answer);
