# The .deb as a user gets it: apt accepts it with the packages this machine has (its
# dependencies resolve), and unpacked into a scratch root the installed show opens its window
# under Xvfb and ends on ESC with status 0, and the installed recorder writes frames.
. "$2/tests/e2e/lib.bash"
if grep -q '^KROM_SANITIZE:BOOL=ON' "$build/CMakeCache.txt"; then
  echo "installed-package test: release build only"
  exit 77
fi

(cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" >"$scratch/cpack.log" 2>&1) ||
  fail "cpack: $(tail -5 "$scratch/cpack.log")"
deb=$(ls "$scratch"/*.deb | head -1)
[ -n "$deb" ] || fail "no .deb made"
# A simulated install: nothing changes on the machine, but every dependency must be satisfiable.
apt-get install -s "$deb" >"$scratch/apt.log" 2>&1 || fail "apt-get install -s: $(tail -5 "$scratch/apt.log")"
grep -q '^Inst krom7316 ' "$scratch/apt.log" || fail "apt would not install it: $(tail -5 "$scratch/apt.log")"

dpkg-deb -x "$deb" "$scratch/root"
e2e_start_x
build="$scratch/root/usr/games"   # e2e_start_demo starts $build/krom7316
e2e_start_demo ""
geometry=$(xdotool getwindowgeometry "$id" | awk '/Geometry/ {print $2}')
[ "$geometry" = "256x256" ] || fail "installed show: window $geometry"
xdotool key --window "$id" Escape
e2e_wait_exit "$pid" 20
[ "$status" = "0" ] || fail "installed show, ESC: exit status $status; stderr: $(cat "$scratch/err")"

mkdir -p "$scratch/frames"
"$scratch/root/usr/games/krom7316-record" --seed 1 --frames 10 --png "$scratch/frames" --every 9 ||
  fail "the installed recorder: status $?"
[ -e "$scratch/frames/frame-000009.png" ] || fail "the installed recorder wrote no frame"
echo "installed-package test passed"
