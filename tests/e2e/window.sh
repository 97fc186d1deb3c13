# The demo under Xvfb: one 256 x 256 window titled KROM7316, the blue loading screen, then the
# show; ESC ends it with status 0. Without a display it exits 1 with one line.
. "$2/tests/e2e/lib.bash"

# No display: one clear line and status 1.
set +e
msg=$(DISPLAY=:9999 "$build/krom7316" 2>&1 >/dev/null)
status=$?
set -e
[ "$status" -eq 1 ] || fail "no display: status $status, want 1"
[ "$msg" = 'krom7316: cannot open X display ":9999"' ] || fail "no display: message '$msg'"

e2e_start_x
"$build/krom7316" >"$scratch/out" 2>"$scratch/err" &
pid=$!
pids+=("$pid")
id=$(e2e_window) || true
[ -n "$id" ] || fail "window not found"
geometry=$(xdotool getwindowgeometry "$id" | grep Geometry | awk '{print $2}')
[ "$geometry" = "256x256" ] || fail "window geometry $geometry"
# The loading screen stays while the instruments are synthesised: sample it at once.
import -window "$id" "$scratch/shot0.png"
first=$(e2e_pixel "$scratch/shot0.png" 100 200)
case "$first" in
  "srgb(0,128,255)") echo "loading screen seen" ;;
  *) echo "first screenshot shows $first (loading screen already gone)" ;;
esac
# A few seconds later the show is running: the picture is no longer the loading screen blue.
sleep 4
import -window "$id" "$scratch/shot1.png"
later=$(e2e_pixel "$scratch/shot1.png" 100 200)
[ "$later" != "srgb(0,128,255)" ] || fail "still the loading screen after 4 s"
kill -0 "$pid" || fail "demo died"
xdotool key --window "$id" Escape
e2e_wait_exit "$pid" 20
[ "$status" = "0" ] || fail "ESC: exit status $status"
[ ! -s "$scratch/err" ] || fail "stderr not empty: $(cat "$scratch/err")"
echo "window test passed"
