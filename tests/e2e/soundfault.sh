# Sound device faults: the device missing, busy (opened by another process), or opening but
# refusing every request. The show runs silently: it prints nothing, presents every frame it
# would present with a working device, and the pictures are the same.
. "$2/tests/e2e/lib.bash"
rec="$build/krom7316-record"
frames=1400   # the loading screen, the start-up, the intro and the first vector scene frames

mkdir "$scratch/good"
"$rec" --seed 3 --frames $frames --png "$scratch/good" --every 100 >"$scratch/good.out" 2>&1 \
  || fail "working device: status $?"
(cd "$scratch/good" && md5sum ./*) >"$scratch/good.md5"

for fault in missing busy refuse; do
  mkdir "$scratch/$fault"
  set +e
  "$rec" --seed 3 --frames $frames --png "$scratch/$fault" --every 100 --sound-fault $fault \
    --wav "$scratch/$fault.wav" >"$scratch/$fault.out" 2>&1
  status=$?
  set -e
  [ "$status" -eq 0 ] || fail "$fault: status $status"
  [ ! -s "$scratch/$fault.out" ] || fail "$fault: printed $(head -3 "$scratch/$fault.out")"
  [ "$(ls "$scratch/$fault" | wc -l)" -eq $((frames / 100)) ] || fail "$fault: frames missing"
  (cd "$scratch/$fault" && md5sum -c --quiet "$scratch/good.md5") || fail "$fault: pictures differ"
  samples=$(soxi -s "$scratch/$fault.wav")
  [ "$samples" -eq 0 ] || fail "$fault: $samples samples reached the device"
done
echo "sound fault test passed"
