#!/usr/bin/env bash
# Installs what the demo needs, builds it and starts it, with sound through an OSS emulation
# when this machine has no /dev/dsp.
set -euo pipefail
cd "$(dirname "$0")"
. tools/packages.sh
krom_install "${KROM_BUILD_PACKAGES[@]}"
# build/ is also the by-hand build of the README (tests there only when GoogleTest is installed);
# ./test.sh builds in build-test/ and build-asan/.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target krom7316 krom7316-record

if [ -e /dev/dsp ]; then
  echo "Sound: /dev/dsp"
  exec build/krom7316
fi
# A PulseAudio or PipeWire desktop: padsp turns /dev/dsp into a stream of the sound server.
runtime="${XDG_RUNTIME_DIR:-/run/user/$(id -u)}"
if [ -S "$runtime/pulse/native" ] || [ -n "${PULSE_SERVER:-}" ]; then
  krom_install pulseaudio-utils
  echo "Sound: padsp (PulseAudio/PipeWire OSS emulation)"
  exec padsp build/krom7316
fi
# Plain ALSA: preload its OSS emulation (the aoss wrapper gives up without /proc/asound).
if [ -d /proc/asound ]; then
  krom_install alsa-oss
  lib=$(ls /usr/lib/*/libaoss.so 2>/dev/null | head -1 || true)
  if [ -n "$lib" ]; then
    echo "Sound: ALSA OSS emulation ($lib)"
    LD_PRELOAD="$lib" exec build/krom7316
  fi
fi
echo "Sound: none found (no /dev/dsp, no sound server, no ALSA): the show runs silently"
exec build/krom7316
