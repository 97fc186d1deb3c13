# A private PulseAudio server with a null sink, as a desktop has one, for measuring and testing
# what a listener hears. Sourced; needs the packages pulseaudio, pulseaudio-utils and
# libasound2-plugins. Usage: pulse_start DIR (sets PULSE_SERVER, writes DIR/home/.asoundrc that
# sends ALSA's default device to it, and sets `pulse_pid`); pulse_stop.
pulse_pid=""
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
