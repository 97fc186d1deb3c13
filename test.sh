#!/usr/bin/env bash
# Installs what the tests need, builds normally (build-test/) and with AddressSanitizer +
# UndefinedBehaviorSanitizer (build-asan/), runs every test (unit and end-to-end) in both
# builds, builds the web page (build-web/) and checks it in headless Chromium against the release
# build's recorder, then fuzzes the picture decoder and the wire-object reader for a bounded time.
# CI=true makes warnings errors.
set -euo pipefail
cd "$(dirname "$0")"
. tools/packages.sh
krom_install "${KROM_BUILD_PACKAGES[@]}" "${KROM_TEST_PACKAGES[@]}"
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
jobs=$(nproc)

# Its own build folders (run.sh and the README's by-hand build use build/), tests and benchmarks
# on explicitly.
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Release -DKROM_WERROR=$werror -DKROM_TESTS=ON -DKROM_BENCH=ON
cmake --build build-test -j "$jobs"
ctest --no-tests=error --test-dir build-test --output-on-failure -j "$jobs" -LE e2e
ctest --no-tests=error --test-dir build-test --output-on-failure -L e2e

# The web page: the core's unit tests built with emscripten under node, then the page in headless
# Chromium, its frames and sound compared with build-test's recorder for a pinned seed.
KROM_NATIVE_BUILD=build-test tools/web.sh --test

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKROM_WERROR=$werror -DKROM_SANITIZE=ON \
  -DKROM_TESTS=ON -DKROM_BENCH=OFF
cmake --build build-asan -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --no-tests=error --test-dir build-asan --output-on-failure -j "$jobs" -LE e2e
ctest --no-tests=error --test-dir build-asan --output-on-failure -L e2e

# The two parsers under libFuzzer for a bounded time each (KROM_FUZZ_SECONDS, default 60).
tools/fuzz/run.sh "${KROM_FUZZ_SECONDS:-60}"
echo "All tests passed (release, web and sanitizer builds, fuzzing)."
