# The demo on each kind of TrueColor display Xvfb offers: 24 bits (the frame layout itself),
# 16 (5-6-5), 15 (5-5-5), 30 (10-10-10) and 8 (PseudoColor by default, with a 3-3-2 TrueColor
# visual beside it, which the demo picks). The loading screen must be the recorder's first frame
# as each display can show it: every channel the nearest value its field can hold.
. "$2/tests/e2e/lib.bash"

mkdir -p "$scratch/rec"
"$build/krom7316-record" --frames 1 --png "$scratch/rec" --every 1 || fail "recorder: status $?"
reference="$scratch/rec/frame-000000.png"

# Rounds every channel of picture $1 to the nearest of $3, $4, $5 bits (red, green, blue): the
# values a display with those fields shows, written as 8-bit picture $2.
quantize() {
  local r=$((2 ** $3 - 1)) g=$((2 ** $4 - 1)) b=$((2 ** $5 - 1))
  convert "$1" -channel R -fx "round(u*$r)/$r" -channel G -fx "round(u*$g)/$g" -channel B -fx "round(u*$b)/$b" \
    +channel -depth 8 "$2"
}

# depth, then the bits of red, green and blue
for display in "24 8 8 8" "16 5 6 5" "15 5 5 5" "30 10 10 10" "8 3 3 2"; do
  read -r depth rbits gbits bbits <<<"$display"
  e2e_start_x 640x480 "$depth"
  quantize "$reference" "$scratch/want$depth.png" "$rbits" "$gbits" "$bbits"
  # The loading screen stays only for the tenth of a second the synthesis takes: the demo runs
  # in slices of a few milliseconds, stopped in between, until its window is there, and then
  # until its first frame is on the screen.
  "$build/krom7316" >"$scratch/out$depth" 2>"$scratch/err$depth" &
  pid=$!
  pids+=("$pid")
  id=""
  for _ in $(seq 2000); do
    kill -STOP "$pid"
    id=$(xdotool search --name '^KROM7316$' 2>/dev/null | head -1) || true
    [ -n "$id" ] && break
    kill -CONT "$pid"
    sleep 0.005
  done
  [ -n "$id" ] || fail "depth $depth: no window"
  seen=""
  for _ in $(seq 100); do
    kill -STOP "$pid"
    import -window "$id" "$scratch/shot$depth.png" 2>/dev/null
    quantize "$scratch/shot$depth.png" "$scratch/got$depth.png" "$rbits" "$gbits" "$bbits"
    if e2e_same_picture "$scratch/want$depth.png" "$scratch/got$depth.png" >"$scratch/diff$depth"; then
      seen=yes
      break
    fi
    # Until then the window shows its background, the same blue.
    [ "$(e2e_pixel "$scratch/got$depth.png" 10 200)" = "$(e2e_pixel "$scratch/want$depth.png" 10 200)" ] ||
      fail "depth $depth: background $(e2e_pixel "$scratch/got$depth.png" 10 200), want" \
        "$(e2e_pixel "$scratch/want$depth.png" 10 200); loading screen: $(cat "$scratch/diff$depth")"
    kill -CONT "$pid"
    sleep 0.01
  done
  kill -CONT "$pid"
  [ -n "$seen" ] || fail "depth $depth: loading screen never shown; $(cat "$scratch/diff$depth")"
  echo "depth $depth: loading screen $(e2e_pixel "$scratch/got$depth.png" 10 200) as the display shows 0x0080ff"
  xdotool key --window "$id" Escape 2>/dev/null
  e2e_wait_exit "$pid" 20
  [ "$status" = "0" ] || fail "depth $depth, ESC: exit status $status; stderr: $(cat "$scratch/err$depth")"
  [ ! -s "$scratch/err$depth" ] || fail "depth $depth: stderr $(cat "$scratch/err$depth")"
  kill "$xpid"
  xpid=""
done
echo "depths test passed"
