# The recorder's outputs fail loudly: every failure gives one line on standard error naming the
# output, status 1, and leaves no file that looks finished; SIGINT and SIGTERM end a capture
# with valid files holding what was captured and status 130 or 143; --png makes its folder.
. "$2/tests/e2e/lib.bash"
rec="$build/krom7316-record"
sanitized=0
grep -q '^KROM_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" && sanitized=1
video=1
"$rec" --frames 1 --video "$scratch/probe.mkv" 2>&1 | grep -q "no video support" && video=0
cd "$scratch"
touch plain

# A small file system that fills up, when this machine lets the test mount one.
full=""
if mkdir small && mount -t tmpfs -o size=256k tmpfs small 2>/dev/null; then
  full=small
  trap 'umount "$scratch/small" 2>/dev/null || true; cleanup' EXIT
else
  echo "no tmpfs mount here: the full-disk cases are left out"
fi

# Each case: options | message | the file or folder to look into afterwards.
while IFS='|' read -r args want out; do
  case "$args" in *'$full'*) [ -n "$full" ] || continue ;; esac
  case "$args" in *--video*) [ "$video" -eq 1 ] || continue ;; esac
  args=${args//'$full'/$full}
  out=${out//'$full'/$full}
  want=${want//'$full'/$full}
  set +e
  # shellcheck disable=SC2086
  "$rec" --seed 3 --frames 1200 $args >stdout 2>stderr
  status=$?
  set -e
  [ "$status" -eq 1 ] || fail "'$args': status $status, want 1"
  [ "$(grep -c . stderr)" -eq 1 ] || fail "'$args': want one line, got: $(cat stderr)"
  grep -q "^krom7316-record: .*$want" stderr || fail "'$args': message $(cat stderr)"
  if [ -d "$out" ]; then
    for f in "$out"/*; do
      [ -e "$f" ] || continue
      case "$f" in *.part) fail "'$args': left $f" ;; esac
      [ -s "$f" ] && convert "$f" info: >/dev/null 2>&1 || fail "'$args': $f is no whole PNG"
    done
  else
    [ ! -e "$out" ] && [ ! -e "$out.part" ] || fail "'$args': left $out"
  fi
  [ -z "$full" ] || rm -rf "${full:?}"/*
done <<'CASES'
--video v.avi|cannot write video "v.avi": unknown extension|v.avi
--video v.mp4 --lossless|--lossless needs a .mkv file|v.mp4
--video plain/v.mkv|cannot write video "plain/v.mkv"|plain/v.mkv
--wav plain/s.wav|cannot write "plain/s.wav"|plain/s.wav
--png plain/frames|cannot create directory "plain/frames"|plain/frames
--wav $full/s.wav|cannot write "$full/s.wav": .*No space left on device|$full/s.wav
--video $full/v.mkv --lossless|cannot write video "$full/v.mkv": No space left on device|$full/v.mkv
--video $full/v.mp4|cannot write video "$full/v.mp4": No space left on device|$full/v.mp4
--png $full/frames --every 1|cannot write $full/frames/frame-.*: No space left on device|$full/frames
CASES

# --png makes the folder and its parents.
"$rec" --seed 3 --frames 3 --png new/deeper/frames
[ "$(ls new/deeper/frames | wc -l)" -eq 3 ] || fail "--png did not make its folder"

# A signal ends the capture: the WAV opens and holds every sample written (a whole number of
# blocks), the video is finished, and no temporary file is left.
for sig in INT TERM; do
  outputs=(--wav "s-$sig.wav")
  [ "$video" -eq 1 ] && outputs+=(--video "v-$sig.mkv")
  "$rec" --seed 3 --frames 1000000 "${outputs[@]}" --quiet &
  pid=$!
  for _ in $(seq 600); do
    [ "$(stat -c %s "s-$sig.wav.part" 2>/dev/null || echo 0)" -gt 400000 ] && break
    sleep 0.1
  done
  kill -"$sig" "$pid"
  set +e
  wait "$pid"
  status=$?
  set -e
  want=130
  [ "$sig" = TERM ] && want=143
  [ "$status" -eq "$want" ] || fail "SIG$sig: status $status, want $want"
  [ ! -e "s-$sig.wav.part" ] && [ ! -e "v-$sig.mkv.part" ] || fail "SIG$sig: temporary file left"
  samples=$(soxi -s "s-$sig.wav")
  data=$(($(stat -c %s "s-$sig.wav") - 44))
  [ "$samples" -gt 0 ] && [ $((samples * 2)) -eq "$data" ] || fail "SIG$sig: WAV header says $samples samples, data $data bytes"
  if [ "$video" -eq 1 ]; then
    ffprobe -v error -count_frames -select_streams v -show_entries stream=nb_read_frames -of csv=p=0 "v-$sig.mkv" \
      | grep -q '^[1-9]' || fail "SIG$sig: the video holds no frames"
  fi
done

# Out of memory: the limit that lets a one-frame video start, then a video that needs far more.
if [ "$sanitized" -eq 0 ] && [ "$video" -eq 1 ]; then
  limit=""
  for kb in $(seq 200000 25000 800000); do
    if (ulimit -v "$kb"; "$rec" --frames 1 --video m.mp4 --quiet) 2>/dev/null; then
      limit=$kb
      break
    fi
  done
  rm -f m.mp4
  if [ -n "$limit" ]; then
    echo "out of memory: a one-frame video starts within $limit kB"
    set +e
    (ulimit -v "$limit"; "$rec" --seed 3 --frames 600 --video m.mp4 --scale 8 --wav m.wav --quiet) 2>stderr
    status=$?
    set -e
    [ "$status" -eq 1 ] || fail "out of memory: status $status, want 1"
    grep -q '^krom7316-record: ' stderr || fail "out of memory: message $(cat stderr)"
    [ ! -e m.mp4 ] && [ ! -e m.mp4.part ] && [ ! -e m.wav ] && [ ! -e m.wav.part ] || fail "out of memory: files left"
  fi
fi
echo "recorder failure test passed"
