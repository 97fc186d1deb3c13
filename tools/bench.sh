#!/usr/bin/env bash
# The performance report: one whole cycle of the show through the recorder's --bench (frame
# work per scene, start-up, resident memory) and the sound pump's Google Benchmark, as one
# Markdown table. Usage: tools/bench.sh [BUILD_DIR]   (a Release build with benchmarks)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

"$build/krom7316-record" --seed 1 --cycles 1 --bench --rss >"$scratch/show"
pump=""
if [ -x "$build/bench_audio" ]; then
  "$build/bench_audio" --benchmark_filter='Pump' --benchmark_format=csv 2>/dev/null >"$scratch/pump" || true
  # name,iterations,real_time,cpu_time,time_unit,...: the fast pump first, in milliseconds.
  pump=$(awk -F, 'NR>1 && $1 ~ /Pump/ {
      f = ($5 == "\"ns\"" || $5 == "ns") ? 1e-6 : (($5 == "\"us\"" || $5 == "us") ? 1e-3 : 1)
      gsub(/"/, "", $1); printf "%s%s %.3f ms", sep, $1, $4 * f; sep = "; " }' "$scratch/pump")
fi

echo "On $(nproc) cores of $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'):"
echo
echo "| scene | frames | median ms | p99 ms | max ms |"
echo "|---|---|---|---|---|"
awk -F'\t' 'NR > 1 && NF == 5 { printf "| %s | %s | %s | %s | %s |\n", $1, $2, $3, $4, $5 }' "$scratch/show"
echo
rss=$(awk -F'\t' '$1 == "end" { print $2 }' "$scratch/show")
echo "- resident memory after one cycle: $(( (rss + 512) / 1024 )) MB ($rss kB)"
[ -n "$pump" ] && echo "- sound pump per frame: $pump"
