#!/usr/bin/env bash
# The show in a web browser: installs the WebAssembly tool chain, builds build-web/ (index.html,
# krom7316.js, krom7316.wasm: copy the three to any static web host) and serves it on 127.0.0.1.
#   tools/web.sh [PORT]    build and serve until Ctrl-C (port 8016 by default)
#   tools/web.sh --build   build only
#   tools/web.sh --test    build, run the core's unit tests under node, then check the page in
#                          headless Chromium
#   tools/web.sh --bench   build, then print the page's size, start time and frame work
#   tools/web.sh --heard [SECONDS]
#                          build, then play the page in real time (120 s by default) and print
#                          what a listener heard: gaps, pauses at scene changes, clicks
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/packages.sh
krom_install "${KROM_WEB_PACKAGES[@]}"
# Debian's emscripten needs Debian's node modules (acorn), which this node does not look for.
export NODE_PATH=/usr/share/nodejs

werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
# Unit tests run under node; emcmake's default emulator passes a flag this node refuses.
emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release -DKROM_WERROR=$werror \
  "-DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node;--no-experimental-fetch" >/dev/null
cmake --build build-web -j "$(nproc)"

case "${1:-}" in
  --build)
    exit 0
    ;;
  --test|--bench|--heard)
    krom_install "${KROM_WEB_TEST_PACKAGES[@]}"
    # playwright-core drives Debian's chromium; it downloads no browser.
    # Debian's npm only where node came without one (this machine's node brings its own).
    command -v npm >/dev/null || krom_install npm
    command -v npm >/dev/null || { echo "tools/web.sh: the browser test needs npm" >&2; exit 1; }
    modules=build-web/test-node
    if [ ! -d "$modules/node_modules/playwright-core" ]; then
      mkdir -p "$modules"
      npm install --prefix "$modules" --no-audit --no-fund --silent playwright-core@1 >/dev/null \
        || { echo "tools/web.sh: npm could not install playwright-core" >&2; exit 1; }
    fi
    if [ "$1" = "--test" ]; then
      ctest --no-tests=error --test-dir build-web --output-on-failure -j "$(nproc)"
      # The recorder whose frames the page must match (KROM_NATIVE_BUILD, default build/).
      exec bash tests/web/page.sh build-web "$modules/node_modules" "${KROM_NATIVE_BUILD:-build}"
    fi
    # Figures: page size, time to the loading screen, frame work over one cycle (~10900 presents);
    # or what a listener hears.
    log=$(mktemp)
    python3 -u -m http.server 0 --bind 127.0.0.1 --directory build-web >"$log" 2>&1 &
    server=$!
    trap 'kill $server 2>/dev/null || true; rm -f "$log"' EXIT
    for _ in $(seq 100); do grep -q port "$log" && break; sleep 0.1; done
    port=$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$log" | head -1)
    [ -n "$port" ] || { echo "tools/web.sh: the web server did not start" >&2; exit 1; }
    if [ "$1" = "--heard" ]; then
      NODE_PATH="$modules/node_modules" node tools/webheard.cjs "http://127.0.0.1:$port/" "${2:-120}"
    else
      NODE_PATH="$modules/node_modules" node tools/webbench.cjs "http://127.0.0.1:$port/" build-web 10900
    fi
    exit 0
    ;;
esac

port=${1:-8016}
echo "Serving the show at http://127.0.0.1:$port/ (Ctrl-C stops)"
cd build-web
exec python3 -m http.server "$port" --bind 127.0.0.1
