#!/usr/bin/env bash
# Renders the README's screenshots with the recorder: one frame from the middle of the intro and
# of every scene of the first cycle, seed 1, into docs/images/scene-NAME.png.
# Usage: tools/screenshots.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Present indices: the loading screen and the start-up fade (257), the intro's fade-in (256)
# and its 300 frames, then per scene a fade-in, its frames and a fade-out.
# The scenes and their frame limits come from the recorder's table, the intro first.
mapfile -t scenes < <("$build/krom7316-record" --list-scenes | tr ' ' ':')
[ "${scenes[0]%%:*}" = intro ] || { echo "screenshots: the recorder lists no intro first" >&2; exit 1; }
shots=("intro:$((257 + 256 + 60))")   # the logo on its way down
cursor=$((257 + 256 + ${scenes[0]##*:}))
for entry in "${scenes[@]:1}"; do
  name=${entry%%:*}
  frames=${entry##*:}
  shots+=("$name:$((cursor + 256 + frames / 2))")
  cursor=$((cursor + 256 + frames + 256))
done
for shot in "${shots[@]}"; do
  name=${shot%%:*}
  index=${shot##*:}
  # --every INDEX writes frames 0 and INDEX; the run stops right after INDEX.
  "$build/krom7316-record" --seed 1 --frames $((index + 1)) --png "$scratch" --every "$index"
  printf -v file 'frame-%06d.png' "$index"
  mv "$scratch/$file" "$root/docs/images/scene-$name.png"
  echo "docs/images/scene-$name.png (present $index)"
done
