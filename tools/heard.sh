#!/usr/bin/env bash
# Plays the show in real time to a private PulseAudio server (null sink) under a private Xvfb,
# with the seed's clock held at a known second so the music is always the same, records what the
# server played, and reports what a listener heard: underruns and clicks inside scenes, pauses at
# scene changes, the frame rate over the 1500-frame vector scene, and the demo's CPU use.
# Usage: tools/heard.sh [--check] [BUILD_DIR] [SECONDS]   (default build, 100 s)
# With --check the exit status says whether what was heard passes (see tools/heard.py);
# KROM_HEARD_KEEP=DIR keeps the capture (heard.raw) and the frame log (frames.log).
set -euo pipefail
check=""
if [ "${1:-}" = "--check" ]; then check="--check"; shift; fi
build=$(cd "${1:-build}" && pwd)
seconds=${2:-100}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/servers.bash"
faketime=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -1 || true)
[ -n "$faketime" ] || { echo "heard: libfaketime.so.1 not found (package faketime)" >&2; exit 1; }
[ -f "$build/krom-test-framelog.so" ] || { echo "heard: $build/krom-test-framelog.so not built (tests on)" >&2; exit 1; }

scratch=$(mktemp -d)
dpid="" rpid=""
cleanup() {
  [ -n "$dpid" ] && kill "$dpid" 2>/dev/null || true
  [ -n "$rpid" ] && kill "$rpid" 2>/dev/null || true
  pulse_stop
  xvfb_stop
  rm -rf "$scratch"
}
trap cleanup EXIT

xvfb_start "$scratch/x"
pulse_start "$scratch/pa"

monotonic() { python3 -c 'import time; print("%.6f" % time.clock_gettime(time.CLOCK_MONOTONIC))'; }
# A recorder of low latency keeps the null sink rendering in small steps, as a sound card's sink
# does; at the server's default the sink wakes only every two seconds, and a stream that starts
# or recovers from an underrun then waits that long.
parecord --latency-msec=20 --raw --format=s16le --channels=1 --rate=44100 -d cap.monitor "$scratch/heard.raw" &
rpid=$!
HOME="$scratch/pa/home" TZ=UTC FAKETIME="@2026-01-01 00:00:00" FAKETIME_DONT_FAKE_MONOTONIC=1 \
  KROM_FRAMELOG="$scratch/frames.log" LD_PRELOAD="$build/krom-test-framelog.so $faketime" \
  "$build/krom7316" >"$scratch/out" 2>"$scratch/err" &
dpid=$!
id=$(timeout 20 xdotool search --sync --name '^KROM7316$' 2>/dev/null | head -1 || true)
[ -n "$id" ] || { echo "heard: the demo's window did not appear: $(cat "$scratch/err")" >&2; exit 1; }

hz=$(getconf CLK_TCK)
ticks() { awk '{print $14 + $15}' "/proc/$dpid/stat"; }
sleep 10   # start-up and synthesis are not the steady cost
t0=$(ticks); w0=$(monotonic)
sleep $((seconds - 10))
t1=$(ticks); w1=$(monotonic)
xdotool key --window "$id" Escape 2>/dev/null
status=""
for _ in $(seq 100); do
  if ! kill -0 "$dpid" 2>/dev/null; then set +e; wait "$dpid"; status=$?; set -e; break; fi
  sleep 0.1
done
dpid_done=$dpid; dpid=""
sleep 0.5
kill -INT "$rpid" 2>/dev/null || true
wait "$rpid" 2>/dev/null || true
rpid=""
[ "$status" = "0" ] || { echo "heard: the demo (pid $dpid_done) ended with status ${status:-none}: $(cat "$scratch/err")" >&2; exit 1; }
[ ! -s "$scratch/err" ] || { echo "heard: the demo printed: $(cat "$scratch/err")" >&2; exit 1; }
awk -v t="$((t1 - t0))" -v hz="$hz" -v w0="$w0" -v w1="$w1" \
  'BEGIN { printf "cpu with sound: %.1f%% of one core over %.0f s\n", 100 * t / hz / (w1 - w0), w1 - w0 }'
# KROM_HEARD_KEEP=DIR keeps the capture and the frame log for a closer look.
if [ -n "${KROM_HEARD_KEEP:-}" ]; then
  mkdir -p "$KROM_HEARD_KEEP"
  cp "$scratch/heard.raw" "$scratch/frames.log" "$scratch/pa/pulse.log" "$KROM_HEARD_KEEP/"
fi
python3 "$here/heard.py" "$scratch/heard.raw" "$scratch/frames.log" $check
