# A paused show keeps its frame: after the window is resized (and forced back to 256 x 256),
# hidden and shown again, or moved off the screen and back (exposed), it shows the frame that
# was on it when P was pressed. P resumes and ESC still ends the show with status 0.
. "$2/tests/e2e/lib.bash"

e2e_start_x
e2e_start_demo ""
# Pause once the picture moves after the loading screen. (For some seeds the intro holds a black
# background for about five seconds; a frozen frame from there is as good a test.)
import -window "$id" "$scratch/before.png"
moving=""
for _ in $(seq 60); do
  sleep 0.25
  import -window "$id" "$scratch/now.png"
  if ! e2e_same_picture "$scratch/before.png" "$scratch/now.png" >/dev/null &&
    [ "$(e2e_pixel "$scratch/before.png" 100 120)" != "srgb(0,128,255)" ]; then
    moving=yes
    break
  fi
  mv "$scratch/now.png" "$scratch/before.png"
done
[ -n "$moving" ] || fail "the show's picture never moved"
xdotool key --window "$id" p
sleep 0.5
import -window "$id" "$scratch/frozen.png"

# Each disturbance: a name and the xdotool commands that make it.
disturb() {
  case "$1" in
    resize) xdotool windowsize "$id" 400 300 ;;
    hide-show) xdotool windowunmap --sync "$id" && sleep 0.3 && xdotool windowmap --sync "$id" ;;
    expose) xdotool windowmove --sync "$id" 500 300 && sleep 0.3 && xdotool windowmove --sync "$id" 0 0 ;;
  esac
}

for what in resize hide-show expose; do
  disturb "$what"
  sleep 0.5
  geometry=$(xdotool getwindowgeometry "$id" | awk '/Geometry/ {print $2}')
  [ "$geometry" = "256x256" ] || fail "$what while paused: window $geometry, want 256x256"
  import -window "$id" "$scratch/$what.png"
  e2e_same_picture "$scratch/frozen.png" "$scratch/$what.png" >"$scratch/diff" ||
    fail "$what while paused: the frozen frame is lost: $(cat "$scratch/diff")"
  echo "$what while paused: frame kept"
done

kill -0 "$pid" || fail "demo died while paused"
xdotool key --window "$id" p
resumed=""
for _ in $(seq 40); do
  sleep 0.25
  import -window "$id" "$scratch/resumed.png"
  ! e2e_same_picture "$scratch/frozen.png" "$scratch/resumed.png" >/dev/null && resumed=yes && break
done
[ -n "$resumed" ] || fail "P did not resume the show: the frozen frame stayed for 10 s"
xdotool key --window "$id" Escape
e2e_wait_exit "$pid" 20
[ "$status" = "0" ] || fail "ESC: exit status $status"
[ ! -s "$scratch/err" ] || fail "stderr not empty: $(cat "$scratch/err")"
echo "pause test passed"
