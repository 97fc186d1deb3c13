#!/usr/bin/env bash
# The browser test: serves the web build on 127.0.0.1, makes the recorder's frames for a pinned
# seed when the native recorder is built, and runs page.mjs in headless Chromium. Every process
# started here is stopped by its id.
# Usage: tests/web/page.sh BUILD_WEB NODE_MODULES [NATIVE_BUILD]
set -euo pipefail
web=$(cd "$1" && pwd)
modules=$(cd "$2" && pwd)
native=${3:-build}
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
server=""
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

# The recorder's presents (and sound) for the seed the page will pin, without keys and with SPACE
# and M.
seed=20261210
golden=""
if [ -x "$native/krom7316-record" ]; then
  mkdir -p "$scratch/png"
  "$native/krom7316-record" --seed "$seed" --frames 560 --png "$scratch/png" >/dev/null
  # The device stream lags the pictures by the sound queue: 1000 presents give six seconds.
  "$native/krom7316-record" --seed "$seed" --frames 1000 --wav "$scratch/png/show.wav" >/dev/null
  # The same seed with SPACE and M: the keys must act in the page as they do in the recorder.
  mkdir -p "$scratch/png-keys"
  "$native/krom7316-record" --seed "$seed" --frames 700 --keys 320:m,560:space \
    --png "$scratch/png-keys" >/dev/null
  golden="$scratch/png"
else
  echo "note: $native/krom7316-record is not built; the frames are not compared with the recorder's"
fi

# A free port chosen by the server itself, read from its first line.
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$web" >"$scratch/server.log" 2>&1 &
server=$!
for _ in $(seq 100); do
  grep -q 'port' "$scratch/server.log" && break
  sleep 0.1
done
port=$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$scratch/server.log" | head -1)
[ -n "$port" ] || { echo "FAIL: the web server did not start" >&2; cat "$scratch/server.log" >&2; exit 1; }

NODE_PATH="$modules" node "$here/page.cjs" "http://127.0.0.1:$port/" "$seed" "$golden"
