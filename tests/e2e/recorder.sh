# The recorder: bad usage is refused before any work, one seed gives identical bytes, and
# scripted keys steer the show (SPACE ends a scene, ESC fades out and ends with status 0).
. "$2/tests/e2e/lib.bash"
rec="$build/krom7316-record"

# Bad usage: status 2, one line naming the problem, the usage, and nothing written.
mkdir "$scratch/out"
while IFS='|' read -r args want; do
  set +e
  # shellcheck disable=SC2086
  "$rec" $args --wav "$scratch/out/bad.wav" >"$scratch/stdout" 2>"$scratch/stderr"
  status=$?
  set -e
  [ "$status" -eq 2 ] || fail "'$args': status $status, want 2"
  head -1 "$scratch/stderr" | grep -q "^krom7316-record: .*$want" || fail "'$args': message $(head -1 "$scratch/stderr")"
  grep -q "^usage: krom7316-record" "$scratch/stderr" || fail "'$args': no usage"
  [ -z "$(ls -A "$scratch/out")" ] || fail "'$args': wrote $(ls "$scratch/out")"
done <<'CASES'
--frames 0|bad value for --frames
--frames ten|bad value for --frames
--frames|missing value for --frames
--seed 12x|bad value for --seed
--every -1|bad value for --every
--block|missing value for --block
--colour red|unknown option
--keys 10:nokey|unknown key name
--keys space|bad key
CASES
"$rec" --help | grep -q "^usage: krom7316-record" || fail "--help"

# One seed, one output: PNG frames and WAV byte for byte.
for run in a b; do
  mkdir "$scratch/$run"
  "$rec" --seed 5 --frames 700 --png "$scratch/$run" --every 100 --wav "$scratch/$run/show.wav"
done
[ "$(ls "$scratch/a" | wc -l)" -eq 8 ] || fail "want 7 frames and a WAV, got $(ls "$scratch/a")"
(cd "$scratch/a" && md5sum ./*) >"$scratch/a.md5"
(cd "$scratch/b" && md5sum -c --quiet "$scratch/a.md5") || fail "two runs with seed 5 differ"
# Present 0 is the loading screen: the window's blue with the two text lines.
[ "$(e2e_pixel "$scratch/a/frame-000000.png" 100 120)" = "srgb(0,128,255)" ] || fail "loading screen colour"

# Scripted keys: the loading screen (present 0), the start-up fade (1-256) and the intro's fade
# (257-512) come first, so the intro's frames are presents 513 on. SPACE at 600 ends the intro
# after 87 counted frames and the next scene follows.
"$rec" --seed 5 --frames 1200 --keys 600:space --bench >"$scratch/bench"
grep -q "^scene	frames	median_ms	p99_ms	max_ms$" "$scratch/bench" || fail "bench header"
[ "$(awk -F'\t' 'NR==2{print $1, $2}' "$scratch/bench")" = "intro 87" ] || fail "SPACE: $(sed -n 2p "$scratch/bench")"
[ "$(awk -F'\t' 'NR==3{print $1}' "$scratch/bench")" != "intro" ] || fail "no scene after the intro"
grep -q "^startup	" "$scratch/bench" || fail "no start-up line"

# ESC at present 600 fades out (256 more presents) and ends with status 0 before the limit.
mkdir "$scratch/esc"
"$rec" --seed 5 --frames 100000 --keys 600:esc --png "$scratch/esc" --every 1 || fail "ESC: status $?"
[ "$(ls "$scratch/esc" | wc -l)" -eq 857 ] || fail "ESC: $(ls "$scratch/esc" | wc -l) frames, want 857"
[ "$(e2e_pixel "$scratch/esc/frame-000856.png" 128 128)" = "srgb(0,0,0)" ] || fail "ESC: last frame not black"
echo "recorder test passed"
