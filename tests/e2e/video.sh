# The recorder's video: picture and sound on one time line. A lossless .mkv of the intro and the
# start of the first scene, with key 5 switching to 25 frames per second, is probed and decoded:
# its frame count and sound length are the time line's, chosen frames equal the recorder's PNG
# files pixel for pixel (also enlarged 3 x 3), and the sound track holds the WAV's samples where
# the WAV has them and silence where the loading screen and the fades lie. Then one short video
# in each container, with picture and sound ending within one video frame of each other.
. "$2/tests/e2e/lib.bash"
rec="$build/krom7316-record"
command -v ffprobe >/dev/null || { echo "ffprobe missing: skipped"; exit 77; }
if "$rec" --frames 1 --video "$scratch/probe.mkv" 2>&1 | grep -q "no video support"; then
  echo "recorder built without video: skipped"
  exit 77
fi
cd "$scratch"

# Time line in samples (44100 per second): the loading screen 4410, each fade 2205 (50 ms), a
# frame 882 at 50 and 1764 at 25 frames per second. Presents: 0 loading, 1-256 start-up fade,
# 257-512 the intro's fade, 513-812 the intro's 300 frames, 813-1068 the vector scene's fade,
# then its frames; key 5 at present 1200 makes the frames after it last 1764.
intro_start=$((4410 + 2205 + 2205))
vector_start=$((intro_start + 300 * 882 + 2205))
start_of() {   # start of frame present $1, samples
  local p=$1
  if [ "$p" -lt 813 ]; then
    echo $((intro_start + (p - 513) * 882))
  elif [ "$p" -le 1201 ]; then
    echo $((vector_start + (p - 1069) * 882))
  else
    echo $((vector_start + 132 * 882 + (p - 1201) * 1764))
  fi
}
first_frame() { echo $((($1 + 881) / 882)); }   # first video frame at or after sample $1
total=$(($(start_of 1399) + 1764))
want_frames=$(first_frame "$total")

mkdir png
"$rec" --seed 7 --frames 1400 --keys 1200:5 --video v.mkv --lossless --wav s.wav --png png --every 100 --quiet
[ -s v.mkv ] && [ ! -e v.mkv.part ] || fail "no finished v.mkv"
codecs=$(ffprobe -v error -show_entries stream=codec_name -of csv=p=0 v.mkv | tr '\n' ' ')
[ "$codecs" = "ffv1 flac " ] || fail "codecs: $codecs"
frames=$(ffprobe -v error -count_frames -select_streams v -show_entries stream=nb_read_frames -of csv=p=0 v.mkv)
[ "$frames" -eq "$want_frames" ] || fail "video frames: $frames, want $want_frames"
ffmpeg -v error -i v.mkv -map 0:a -f s16le -ac 1 a.raw
ffmpeg -v error -i s.wav -f s16le w.raw
[ "$(stat -c %s a.raw)" -eq $((total * 2)) ] || fail "sound: $(($(stat -c %s a.raw) / 2)) samples, want $total"

# Pictures: present 600 (an intro frame at 50 per second) is video frame 97; present 1300 (at
# 25 per second) is video frames 643 and 644.
check_frame() {   # video file, frame, PNG present, scale
  ffmpeg -v error -y -i "$1" -vf "select=eq(n\,$2)" -frames:v 1 -pix_fmt rgb24 "got-$2.png"
  convert "png/frame-$(printf %06d "$3").png" -sample "$(($4 * 100))%" "want-$3.png"
  local differ
  differ=$(compare -metric AE "got-$2.png" "want-$3.png" null: 2>&1) || true
  [ "$differ" = "0" ] || fail "$1 frame $2 vs present $3 (scale $4): $differ pixels differ"
}
[ "$(first_frame "$(start_of 600)")" -eq 97 ] || fail "time line arithmetic of the test"
check_frame v.mkv 97 600 1
check_frame v.mkv "$(first_frame "$(start_of 1300)")" 1300 1
check_frame v.mkv $(($(first_frame "$(start_of 1300)") + 1)) 1300 1
# The frame before 97 shows the present before 600.
ffmpeg -v error -y -i v.mkv -vf "select=eq(n\,96)" -frames:v 1 -pix_fmt rgb24 got-96.png
[ "$(compare -metric AE got-96.png want-600.png null: 2>&1 || true)" != "0" ] || fail "frame 96 already shows present 600"

# Sound: silence before the intro, the WAV's first 181 blocks (the mix loop's first pass ends
# with a short block) from the intro's start, silence over the vector scene's fade.
cmp -n $((intro_start * 2)) a.raw /dev/zero || fail "sound before the intro is not silent"
cmp -n $((181 * 882 * 2)) -i $((intro_start * 2)):0 a.raw w.raw || fail "intro sound differs from the WAV"
cmp -n $((2205 * 2)) -i $(((vector_start - 2205) * 2)):0 a.raw /dev/zero || fail "the fade is not silent"

# Enlarged 3 x 3: each pixel a block of its colour.
"$rec" --seed 7 --frames 700 --video v3.mkv --lossless --scale 3 --quiet
check_frame v3.mkv 97 600 3

# Every container: picture and sound within one video frame (20 ms) of each other. A lossy sound
# codec fills its last frame with silence (AAC and Vorbis frames: up to 2048 samples), so the
# decoded track may run that much longer; it is never shorter by more than one video frame.
for file in v.mp4 v.webm v264.mkv; do
  "$rec" --seed 7 --frames 700 --video "$file" --quiet
  [ -s "$file" ] && [ ! -e "$file.part" ] || fail "no finished $file"
  n=$(ffprobe -v error -count_frames -select_streams v -show_entries stream=nb_read_frames -of csv=p=0 "$file")
  ffmpeg -v error -i "$file" -map 0:a -f s16le -ac 1 -ar 44100 "$file.raw"
  samples=$(($(stat -c %s "$file.raw") / 2))
  offset=$((n * 882 - samples))
  echo "$file: $n frames ($((n * 882)) samples of picture), $samples samples of sound"
  [ "$offset" -ge -2048 ] && [ "$offset" -le 882 ] || fail "$file: picture and sound $offset samples apart"
done
echo "video test passed"
