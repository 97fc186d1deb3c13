#!/usr/bin/env bash
# Measures the CPU use of the paced demo under a private Xvfb: SECONDS (default 60) playing at
# 50 frames per second, then as long again paused (key P); then, with a private PulseAudio
# server, SECONDS playing with sound through ALSA's default device (the desktop case). Prints one
# line per phase with the share of one core, from the process's user + system ticks in
# /proc/PID/stat. Usage: tools/cpu.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
seconds=${2:-60}
scratch=$(mktemp -d)
dpid=""
. "$(dirname "$0")/servers.bash"
cleanup() {
  [ -n "$dpid" ] && kill "$dpid" 2>/dev/null || true
  pulse_stop
  xvfb_stop
  rm -rf "$scratch"
}
trap cleanup EXIT

xvfb_start "$scratch/x"

hz=$(getconf CLK_TCK)
start_demo() {
  "$build/krom7316" >/dev/null 2>&1 &
  dpid=$!
  id=$(timeout 20 xdotool search --sync --name '^KROM7316$' 2>/dev/null | head -1)
  # Skip the start-up (synthesis and the first fade) before measuring.
  sleep 5
}
ticks() { awk '{print $14 + $15}' "/proc/$dpid/stat"; }

measure() {
  local t0 t1 w0 w1
  t0=$(ticks); w0=$(date +%s.%N)
  sleep "$seconds"
  t1=$(ticks); w1=$(date +%s.%N)
  awk -v t="$((t1 - t0))" -v hz="$hz" -v w0="$w0" -v w1="$w1" -v name="$1" \
    'BEGIN { printf "%s\t%.1f%% of one core over %.0f s\n", name, 100 * t / hz / (w1 - w0), w1 - w0 }'
}
# Without sound (no /dev/dsp and no sound server: ALSA's default device does not open).
PULSE_SERVER=unix:/nonexistent start_demo
measure "playing"
xdotool key --window "$id" p 2>/dev/null
sleep 1
measure "paused"
xdotool key --window "$id" Escape 2>/dev/null
wait "$dpid" 2>/dev/null || true

pulse_start "$scratch/pa"
HOME="$scratch/pa/home" start_demo
measure "playing with sound (sound server)"
xdotool key --window "$id" Escape 2>/dev/null
wait "$dpid" 2>/dev/null || true
dpid=""
