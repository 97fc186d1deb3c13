# What a listener hears: the real demo plays in real time to a private PulseAudio server through
# ALSA's default device, with the seed's clock held so the music is always the same. Once the
# first 45 s of music have played there is no run of exact zeros of 0.5 ms or more inside a
# scene, and a pause at a scene change starts and ends with a ramp and lasts no longer than the
# change plus 100 ms (tools/heard.py). A real-time run of 100 s: the release build only.
. "$2/tests/e2e/lib.bash"
if grep -q '^KROM_SANITIZE:BOOL=ON' "$build/CMakeCache.txt"; then
  echo "skipped in the sanitizer build (a real-time run of 100 s)"
  exit 77
fi
"$src/tools/heard.sh" --check "$build" 100 || fail "what the sound server heard did not pass (above)"
echo "heard test passed"
