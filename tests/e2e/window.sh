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
e2e_start_demo ""
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
# P pauses, and the pause waits for input instead of spinning, also after a keyboard-mapping
# change (xdotool maps a spare key code for a key the keyboard does not have); P resumes.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
xdotool key --window "$id" p
xdotool key --window "$id" U2603
sleep 0.5
t0=$(cpu_ticks)
sleep 2
t1=$(cpu_ticks)
[ $((t1 - t0)) -lt "$(getconf CLK_TCK)" ] || fail "paused demo used $((t1 - t0)) CPU ticks in 2 s"
xdotool key --window "$id" p
sleep 1
import -window "$id" "$scratch/shot2.png"
kill -0 "$pid" || fail "demo died after the pause"
xdotool key --window "$id" Escape
e2e_wait_exit "$pid" 20
[ "$status" = "0" ] || fail "ESC: exit status $status"
[ ! -s "$scratch/err" ] || fail "stderr not empty: $(cat "$scratch/err")"

# A screen smaller than the window: the window cannot lie wholly on it, and the show still runs
# and draws into the part that can be seen.
kill "$xpid"
xpid=""
e2e_start_x 200x200
e2e_start_demo "3"
sleep 4
kill -0 "$pid" || fail "demo died on the small screen: $(cat "$scratch/err3")"
import -window root "$scratch/shot3.png"
small=$(e2e_pixel "$scratch/shot3.png" 102 190)
[ "$small" != "srgb(0,128,255)" ] || fail "small screen: still the window background after 4 s"
xdotool key --window "$id" Escape
e2e_wait_exit "$pid" 20
[ "$status" = "0" ] || fail "small screen, ESC: exit status $status; stderr: $(cat "$scratch/err3")"
[ ! -s "$scratch/err3" ] || fail "small screen: stderr $(cat "$scratch/err3")"
echo "window test passed"
