# The real demo through the ALSA OSS emulation without sound hardware. The clock the seed is
# read from is held at a known second (libfaketime, advancing from there, so the pacer keeps
# real time), which makes the music reproducible: the captured stream of signed 16-bit mono
# samples must be, sample for sample, the start of what the recorder writes for that seed —
# silence until the first pattern, then music, up to the frames played before ESC closed the
# device.
. "$2/tests/e2e/lib.bash"
lib=$(ls /usr/lib/*/libaoss.so 2>/dev/null | head -1 || true)
[ -n "$lib" ] || fail "libaoss.so not found (package alsa-oss)"
faketime=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -1 || true)
[ -n "$faketime" ] || fail "libfaketime.so.1 not found (package faketime)"
printf 'pcm.!default {\n type file\n slave.pcm "null"\n file "%s/cap.raw"\n format "raw"\n}\n' "$scratch" >"$scratch/.asoundrc"
echo "leak:libaoss.so" >"$scratch/lsan.supp"
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0:detect_leaks=0"
export LSAN_OPTIONS="suppressions=$scratch/lsan.supp"
e2e_start_x

seed=1767225600 # 2026-01-01 00:00:00 UTC
e2e_start_demo "" HOME="$scratch" TZ=UTC FAKETIME="@2026-01-01 00:00:00" FAKETIME_DONT_FAKE_MONOTONIC=1 \
  LD_PRELOAD="$lib $faketime"
# Start-up, the intro's fade and 160 intro frames (3.2 s) come before the first pattern; the
# sanitizer build needs longer for the synthesis.
sleep 12
xdotool key --window "$id" Escape
e2e_wait_exit "$pid" 30
[ "$status" = "0" ] || fail "exit status $status; stderr: $(cat "$scratch/err")"
[ ! -s "$scratch/err" ] || fail "stderr: $(cat "$scratch/err")"
[ -s "$scratch/cap.raw" ] || fail "nothing captured"

# The seed is the second the show started in: the held one, or the next if start-up crossed it.
for s in $seed $((seed + 1)); do
  "$build/krom7316-record" --seed "$s" --frames 4000 --wav "$scratch/rec-$s.wav" >/dev/null
done
python3 - "$scratch/cap.raw" "$scratch/rec-$seed.wav" "$scratch/rec-$((seed + 1)).wav" <<'PY'
import struct, sys, wave
data = open(sys.argv[1], "rb").read()
assert len(data) % 2 == 0, "odd capture length %d" % len(data)
cap = struct.unpack("<%dh" % (len(data) // 2), data)
first = next((i for i, v in enumerate(cap) if v != 0), None)
assert first is not None, "the capture is all silence"
# One block a frame: the silent start covers at least the intro's first 159 frames.
assert first >= 159 * 882, "music started after %d samples, before the first pattern" % first
# At least two seconds of music arrived.
assert len(cap) >= first + 2 * 44100, "only %d samples of music captured" % (len(cap) - first)

def recorded(path):
    w = wave.open(path)
    raw = w.readframes(w.getnframes())
    return struct.unpack("<%dh" % (len(raw) // 2), raw)

best = None
for path in sys.argv[2:]:
    rec = recorded(path)
    assert len(rec) >= len(cap), "the recording is shorter than the capture"
    same = next((i for i in range(len(cap)) if cap[i] != rec[i]), len(cap))
    if same == len(cap):
        print("captured %d samples, silence until %d, peak %d, equal to %s"
              % (len(cap), first, max(abs(v) for v in cap), path))
        sys.exit(0)
    best = max(best or 0, same)
sys.exit("the capture differs from the recorder's stream from sample %d on" % best)
PY
echo "sound test passed"
