#!/usr/bin/env bash
# Installs what the demo needs, builds it and starts it. Sound goes to /dev/dsp when the machine
# has it, else to ALSA's default device (the desktop's sound server, or the card).
set -euo pipefail
cd "$(dirname "$0")"
. tools/packages.sh
krom_install "${KROM_BUILD_PACKAGES[@]}"
# build/ is also the by-hand build of the README (tests there only when GoogleTest is installed);
# ./test.sh builds in build-test/ and build-asan/.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target krom7316 krom7316-record

# Sound needs nothing more: the demo plays through /dev/dsp when the machine has it, else through
# ALSA's default device, which on PulseAudio and PipeWire desktops is the sound server.
runtime="${XDG_RUNTIME_DIR:-/run/user/$(id -u)}"
if [ -e /dev/dsp ]; then
  echo "Sound: /dev/dsp"
elif [ -S "$runtime/pulse/native" ] || [ -n "${PULSE_SERVER:-}" ]; then
  # ALSA's route to a PulseAudio (or PipeWire-Pulse) server.
  krom_install libasound2-plugins
  echo "Sound: the sound server, through ALSA's default device"
else
  echo "Sound: ALSA's default device"
fi
exec build/krom7316
