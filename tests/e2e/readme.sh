# The README works as written: every command of its ```sh blocks runs, exactly as written, in a
# scratch copy of the sources without a display, except those in the table below, which need a
# display, sound, or root rights over this machine, or are the test suite itself. The table has
# to name commands the README still has, and the folders the README names are the ones run.sh
# and test.sh build in. Release build only: it builds the whole project once more.
. "$2/tests/e2e/lib.bash"
if grep -q '^KROM_SANITIZE:BOOL=ON' "$build/CMakeCache.txt"; then
  echo "README test: release build only"
  exit 77
fi

# Commands not run here, and why.
declare -A skip=(
  ["./run.sh"]="starts the demo: a display and sound"
  ["./test.sh"]="the test suite itself"
  ["xvfb-run -a ./run.sh"]="plays until stopped"
  ["build/krom7316"]="a display"
  ["ctest --test-dir build --output-on-failure"]="the suite itself (checked below: it finds the tests)"
  ["cmake -S . -B build-asan -G Ninja -DKROM_SANITIZE=ON && cmake --build build-asan"]="test.sh makes the same sanitizer build"
  ["ffmpeg -framerate 50 -i frames/frame-%06d.png -i show.wav -c:v libx264 -pix_fmt yuv420p show.mp4"]="ffmpeg is not a package of this project"
  ["cmake --install build --prefix /usr/local"]="writes into this machine's /usr/local (the package test installs into a scratch prefix)"
  ["apt-get install ./build/krom7316_1.0_amd64.deb"]="installs into this machine (the installed-package test unpacks it)"
)

# The commands of the ```sh blocks (indented ones too), without their trailing comments.
mapfile -t commands < <(awk '/^ *```sh$/ {on = 1; next} /^ *```$/ {on = 0} on' "$src/README.md" |
  sed -e 's/^ *//' -e 's/ *#.*$//' -e '/^$/d')
[ "${#commands[@]}" -gt 0 ] || fail "no commands found in the README"
declare -A seen=()
for c in "${commands[@]}"; do seen["$c"]=1; done
for c in "${!skip[@]}"; do
  [ -n "${seen[$c]:-}" ] || fail "the skip table names a command the README no longer has: $c"
done

# The folders: run.sh builds in build/, test.sh in its own folders, and the README names them.
run_dir=$(grep -o -- '-B [^ ]*' "$src/run.sh" | awk '{print $2}' | sort -u)
test_dirs=$(grep -o -- '-B [^ ]*' "$src/test.sh" | awk '{print $2}' | sort -u)
[ "$run_dir" = "build" ] || fail "run.sh builds in '$run_dir'"
for d in $test_dirs; do
  [ "$d" != "build" ] || fail "test.sh builds in run.sh's build/"
  grep -q "\`$d/\`" "$src/README.md" || fail "the README does not name test.sh's folder $d/"
done

copy="$scratch/copy"
mkdir -p "$copy"
tar -C "$src" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$copy" -xf -

# The by-hand build makes the build/ that run.sh would have made before the commands that use
# it, so it runs first; every other command in the README's order.
ordered=()
for c in "${commands[@]}"; do [[ $c == "cmake -S . -B build "* ]] && ordered+=("$c"); done
[ "${#ordered[@]}" -eq 1 ] || fail "want one by-hand build command for build/, found ${#ordered[@]}"
for c in "${commands[@]}"; do [[ $c == "cmake -S . -B build "* ]] || ordered+=("$c"); done

ran=0
for c in "${ordered[@]}"; do
  if [ -n "${skip[$c]:-}" ]; then
    echo "skipped (${skip[$c]}): $c"
    continue
  fi
  echo "running: $c"
  (cd "$copy" && env -u DISPLAY bash -euo pipefail -c "$c") >"$scratch/cmd.log" 2>&1 ||
    fail "README command failed: $c
$(tail -15 "$scratch/cmd.log")"
  ran=$((ran + 1))
done
echo "ran $ran README commands"

# What those commands promise: tests in build/ (GoogleTest is installed here), the recorder's
# files, the package.
ctest --test-dir "$copy/build" -N | grep -q 'Total Tests: [1-9]' || fail "ctest finds no tests in the by-hand build"
[ -e "$copy/frames/frame-001999.png" ] && [ -s "$copy/show.wav" ] || fail "the recorder command wrote no frames or WAV"
[ -e "$copy/build/krom7316_1.0_amd64.deb" ] || fail "the cpack command made no build/krom7316_1.0_amd64.deb"
# The by-hand configure line on a machine without GoogleTest and Google Benchmark (hidden from
# CMake here): it succeeds and says that the tests are off.
(cd "$copy" && cmake -S . -B build-bare -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
  -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON) >"$scratch/bare.log" 2>&1 ||
  fail "configuring without GoogleTest fails: $(tail -5 "$scratch/bare.log")"
grep -q 'Tests: off (GoogleTest not found' "$scratch/bare.log" || fail "configuring without GoogleTest does not say so"
echo "README test passed"
