# Long runs lose nothing: the recorder plays three whole cycles of the show with a fixed seed and
# scripted keys in every scene (mirror, blur, glare, fade, white, rate display, frame rates,
# scroller speed, pause and SPACE). The sanitizer build must finish without a report; the
# release build must hold its resident memory. The mixer's sixteen voices fill up one pattern
# (160000 samples, 625 kB) at a time, at random, so the first cycles grow by whole voices until
# all sixteen hold one: after cycle 3 must lie within 1 MB of after cycle 2, and within 1 MB plus
# sixteen voices of after cycle 1.
. "$2/tests/e2e/lib.bash"
rec="$build/krom7316-record"
sanitized=0
grep -q '^KROM_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" && sanitized=1

# Present indices: the loading screen (0) and the start-up fade (1-256), then the intro (its
# fade-in and 300 frames), then every scene as fade-in, frames, fade-out (256 presents each).
keys=""
add_key() { keys="${keys:+$keys,}$1:$2"; }
# The scenes and their frame limits: the program's own table, the intro first.
mapfile -t scenes < <("$rec" --list-scenes | tr ' ' ':')
[ "${scenes[0]%%:*}" = intro ] || fail "the recorder lists no intro first: ${scenes[*]}"
cursor=$((1 + 256 + 256 + ${scenes[0]##*:}))
for cycle in 1 2 3; do
  for entry in "${scenes[@]:1}"; do
    name=${entry%%:*}
    frames=${entry##*:}
    start=$((cursor + 256))
    add_key $((start + 10)) m
    add_key $((start + 20)) b
    add_key $((start + 30)) g
    add_key $((start + 40)) f
    add_key $((start + 50)) w
    add_key $((start + 60)) 8
    add_key $((start + 70)) p   # pause ...
    add_key $((start + 70)) p   # ... and resume at once (a pause delivers the next key)
    add_key $((start + 80)) 5
    add_key $((start + 90)) 6
    add_key $((start + 100)) u
    add_key $((start + 110)) i
    add_key $((start + 120)) m
    add_key $((start + 130)) w
    add_key $((start + 140)) 8
    if [ "$name" = rain ]; then
      # SPACE in a frame: that frame is shown, then the scene ends.
      add_key $((start + 400)) space
      frames=401
    fi
    cursor=$((start + frames + 256))
  done
done

set +e
"$rec" --seed 11 --cycles 3 --keys "$keys" --rss --bench >"$scratch/out" 2>"$scratch/err"
status=$?
set -e
[ "$status" -eq 0 ] || fail "status $status: $(tail -5 "$scratch/err")"
[ ! -s "$scratch/err" ] || fail "reports on standard error: $(head -20 "$scratch/err")"
visits=$(awk -F'\t' 'NR>1 && $1!="startup" && $1!="cycle" && NF==5' "$scratch/out" | wc -l)
[ "$visits" -eq $((1 + 3 * (${#scenes[@]} - 1))) ] || fail "want the intro and three cycles of visits, got $visits"
[ "$(awk -F'\t' '$1=="rain"{print $2}' "$scratch/out" | sort -u)" = "400" ] || fail "SPACE did not end the rain scene"

if [ "$sanitized" -eq 0 ]; then
  after1=$(awk -F'\t' '$1=="2"{print $2}' "$scratch/out")
  after2=$(awk -F'\t' '$1=="3"{print $2}' "$scratch/out")
  after3=$(awk -F'\t' '$1=="end"{print $2}' "$scratch/out")
  [ -n "$after1" ] && [ -n "$after2" ] && [ -n "$after3" ] || fail "no resident memory figures: $(cat "$scratch/out")"
  echo "resident memory: after cycle 1 ${after1} kB, cycle 2 ${after2} kB, cycle 3 ${after3} kB"
  [ $((after3 - after2)) -le 1024 ] || fail "memory grew by $((after3 - after2)) kB in cycle 3"
  [ $((after3 - after1)) -le $((1024 + 16 * 625)) ] || fail "memory grew by $((after3 - after1)) kB over two cycles"
fi
echo "soak test passed"
