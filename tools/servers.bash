# Private servers for the measuring tools, each stopped by its own process id. Sourced.
# xvfb_start DIR: an Xvfb (package xvfb) on a free display; exports DISPLAY, sets `xvfb_pid`.
# pulse_start DIR: a PulseAudio server with a null sink, as a desktop has one, for hearing what a
# listener hears (packages pulseaudio, pulseaudio-utils, libasound2-plugins); exports
# PULSE_SERVER, writes DIR/home/.asoundrc that sends ALSA's default device to it, sets
# `pulse_pid`. xvfb_stop and pulse_stop end them.
xvfb_pid=""
pulse_pid=""
xvfb_start() {
  local d=$1
  mkdir -p "$d"
  exec 3>"$d/display"
  Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp >"$d/xvfb.log" 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  for _ in $(seq 100); do
    [ -s "$d/display" ] && break
    sleep 0.1
  done
  if [ ! -s "$d/display" ]; then
    echo "Xvfb did not start: $(tail -3 "$d/xvfb.log")" >&2
    return 1
  fi
  export DISPLAY=":$(cat "$d/display")"
}
xvfb_stop() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=""
}
pulse_start() {
  local d=$1
  mkdir -p "$d/run" "$d/home" "$d/state"
  chmod 700 "$d/run"
  (
    export XDG_RUNTIME_DIR="$d/run" HOME="$d/home" PULSE_STATE_PATH="$d/state" PULSE_RUNTIME_PATH="$d/run"
    exec pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --system=false --use-pid-file=no \
      --log-target="file:$d/pulse.log" --log-level="${KROM_PULSE_LOG_LEVEL:-notice}" \
      --load="module-null-sink sink_name=cap rate=44100 format=s16le channels=1" \
      --load="module-native-protocol-unix socket=$d/native auth-anonymous=1"
  ) >"$d/pulse.out" 2>&1 &
  pulse_pid=$!
  for _ in $(seq 100); do
    [ -S "$d/native" ] && break
    sleep 0.1
  done
  if [ ! -S "$d/native" ]; then
    echo "the private PulseAudio server did not start: $(tail -3 "$d/pulse.out" "$d/pulse.log" 2>/dev/null)" >&2
    return 1
  fi
  export PULSE_SERVER="unix:$d/native"
  printf 'pcm.!default { type pulse }\nctl.!default { type pulse }\n' >"$d/home/.asoundrc"
}
pulse_stop() {
  [ -n "$pulse_pid" ] && kill "$pulse_pid" 2>/dev/null || true
  pulse_pid=""
}
