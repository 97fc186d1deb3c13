// For test programs that link the audio modules without a platform layer: a sound output that
// is never there.
#include "platform/platform.h"

SndDev* snddev_open(const char*, SndDevAnswer*) { return nullptr; }
