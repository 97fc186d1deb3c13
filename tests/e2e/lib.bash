# Shared pieces of the end-to-end tests: a private Xvfb, waiting, and failing with a message.
# Usage in a test: . "$src/tests/e2e/lib.bash"; then e2e_start_x; ...
set -euo pipefail
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
scratch=$(mktemp -d)
xpid=""
pids=()

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  [ -n "$xpid" ] && kill "$xpid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

# Starts Xvfb on a free display number (screen size $1, default 640x480; depth $2, default 24)
# and exports DISPLAY.
e2e_start_x() {
  local size=${1:-640x480} depth=${2:-24}
  rm -f "$scratch/display"
  exec 3>"$scratch/display"
  Xvfb -displayfd 3 -screen 0 "${size}x${depth}" -nolisten tcp >"$scratch/xvfb-$size.log" 2>&1 &
  xpid=$!
  exec 3>&-
  for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    sleep 0.1
  done
  [ -s "$scratch/display" ] || fail "Xvfb ($size) did not start"
  export DISPLAY=":$(cat "$scratch/display")"
}

# Waits for the demo's window and prints its id.
e2e_window() {
  timeout 20 xdotool search --sync --name '^KROM7316$' | head -1
}

# Starts the demo with its standard output and error in $scratch/out$1 and $scratch/err$1 and
# the environment assignments that follow (VAR=VALUE ...), then sets `pid` and `id` (its window),
# or fails when no window comes. Runs in the calling shell, so that the demo is its child.
e2e_start_demo() {
  local n=$1
  shift
  env "$@" "$build/krom7316" >"$scratch/out$n" 2>"$scratch/err$n" &
  pid=$!
  pids+=("$pid")
  id=$(e2e_window) || true
  [ -n "$id" ] || fail "window not found${n:+ (run $n)}"
}

# Waits until process $1 (a child of this shell) has ended, at most $2 seconds, and sets
# `status` to its exit status, or to "timeout". Runs in the calling shell, not in $(...): only
# the parent can collect a child's status.
e2e_wait_exit() {
  local pid=$1 limit=$2
  for _ in $(seq $((limit * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      set +e
      wait "$pid"
      status=$?
      set -e
      return 0
    fi
    sleep 0.1
  done
  status="timeout"
}

# Prints the colour of pixel (x, y) of a PNG as srgb(r,g,b).
e2e_pixel() {
  convert "$1" -format "%[pixel:p{$2,$3}]" info:
}

# Succeeds when two pictures have the same size and pixels; otherwise prints the first pixel
# that differs (position and both values) and fails.
e2e_same_picture() {
  local a=$1 b=$2 first
  first=$(paste -d'|' <(convert "$a" -depth 8 txt:- | tail -n +2) <(convert "$b" -depth 8 txt:- | tail -n +2) |
    awk -F'|' '$1 != $2 { split($1, p, ":"); sub(/^[^:]*: */, "", $1); sub(/^[^:]*: */, "", $2);
                          print "first difference at " p[1] ": " $1 " against " $2; exit }')
  [ -z "$first" ] && [ "$(identify -format %wx%h "$a")" = "$(identify -format %wx%h "$b")" ] && return 0
  echo "${first:-sizes differ: $(identify -format %wx%h "$a") against $(identify -format %wx%h "$b")}"
  return 1
}
