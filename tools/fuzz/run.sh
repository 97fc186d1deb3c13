#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz and runs each for SECONDS (default 60), starting
# from the hand-made seeds in tools/fuzz/corpus/<target>/ and the embedded resources. New inputs go to build-fuzz/corpus/<target>/,
# crashing inputs to build-fuzz/crashes/<target>/. Exits non-zero when a target crashes or hangs.
#   tools/fuzz/run.sh [SECONDS]
set -euo pipefail
secs=${1:-60}
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build-fuzz

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKROM_FUZZ=ON -DKROM_TESTS=OFF -DKROM_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_pnm fuzz_obj2d

# The embedded resources seed the working corpora too: the sprite sheets and the logo for the
# decoder (the glyph sheet is left out: at 64 kB it would raise every input's length limit), both
# wire fonts for the reader.
mkdir -p "$build/corpus/pnm" "$build/corpus/obj2d"
cp "$root"/resources/data/{balls.ppm,stars.ppm,logo.pgm} "$build/corpus/pnm/"
cp "$root"/resources/data/{font8.txt,font16.txt} "$build/corpus/obj2d/"

status=0
for target in pnm obj2d; do
  mkdir -p "$build/corpus/$target" "$build/crashes/$target"
  echo "== fuzz_$target for ${secs}s"
  if ! "$build/tools/fuzz/fuzz_$target" -max_total_time="$secs" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$build/crashes/$target/" "$build/corpus/$target" "$root/tools/fuzz/corpus/$target"; then
    echo "fuzz_$target: failure, inputs in $build/crashes/$target/"
    status=1
  fi
done
exit $status
