# The real demo through the ALSA OSS emulation without sound hardware: the capture is the
# stream of signed 16-bit mono samples, silence until the first pattern, then music, and the
# last blocks arrive because ESC closes the device.
. "$2/tests/e2e/lib.bash"
lib=$(ls /usr/lib/*/libaoss.so 2>/dev/null | head -1 || true)
[ -n "$lib" ] || fail "libaoss.so not found (package alsa-oss)"
printf 'pcm.!default {\n type file\n slave.pcm "null"\n file "%s/cap.raw"\n format "raw"\n}\n' "$scratch" >"$scratch/.asoundrc"
echo "leak:libaoss.so" >"$scratch/lsan.supp"
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0:detect_leaks=0"
export LSAN_OPTIONS="suppressions=$scratch/lsan.supp"
e2e_start_x

HOME="$scratch" LD_PRELOAD="$lib" "$build/krom7316" >"$scratch/out" 2>"$scratch/err" &
pid=$!
pids+=("$pid")
id=$(e2e_window) || true
[ -n "$id" ] || fail "window not found"
# Start-up, the intro's fade and 160 intro frames (3.2 s) come before the first pattern; the sanitizer build needs longer for the synthesis.
sleep 12
xdotool key --window "$id" Escape
e2e_wait_exit "$pid" 30
[ "$status" = "0" ] || fail "exit status $status; stderr: $(cat "$scratch/err")"
[ -s "$scratch/cap.raw" ] || fail "nothing captured"
bytes=$(stat -c %s "$scratch/cap.raw")
[ $((bytes % 2)) -eq 0 ] || fail "odd capture length $bytes"
python3 - "$scratch/cap.raw" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
s = struct.unpack("<%dh" % (len(data) // 2), data)
first = next((i for i, v in enumerate(s) if v != 0), None)
assert first is not None, "the capture is all silence"
# One block a frame: the silent start covers at least the intro's fade-free first 159 frames.
assert first >= 159 * 882, "music started after %d samples, before the first pattern" % first
loud = max(abs(v) for v in s[first:])
assert loud > 1000, "the music is too quiet: peak %d" % loud
print("captured %d samples, silence until %d, peak %d" % (len(s), first, loud))
PY
echo "sound test passed"
