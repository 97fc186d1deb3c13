# Ways out of the demo under Xvfb: SPACE keeps it running, a window manager's close request
# ends it with status 0, and a killed X server ends it with status 1 and one line.
. "$2/tests/e2e/lib.bash"
# Xlib keeps allocations of its own at exit; leaks are checked by the recorder's tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"
e2e_start_x

# SPACE skips scenes and the show goes on; then the close request ends it.
e2e_start_demo "1"
sleep 3
for _ in 1 2 3; do
  xdotool key --window "$id" space
  sleep 1
done
kill -0 "$pid" || fail "demo died after SPACE"
"$build/krom-test-wmdelete" "$id"
e2e_wait_exit "$pid" 20
[ "$status" = "0" ] || fail "WM_DELETE_WINDOW: exit status $status"
[ ! -s "$scratch/err1" ] || fail "WM_DELETE_WINDOW: stderr: $(cat "$scratch/err1")"

# The X server goes away: one line and status 1, within a moment.
e2e_start_demo "2"
sleep 3
kill "$xpid"
xpid=""
e2e_wait_exit "$pid" 10
[ "$status" = "1" ] || fail "killed X server: exit status $status"
[ "$(cat "$scratch/err2")" = "krom7316: lost the X display" ] || fail "killed X server: stderr '$(cat "$scratch/err2")'"
echo "exits test passed"
