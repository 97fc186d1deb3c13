# Install and package as a distribution would: cmake --install puts both programs, their manual
# pages, the desktop entry and the icon in place; cpack builds a .deb with the right
# dependencies, and the recorder runs from the unpacked package.
. "$2/tests/e2e/lib.bash"
if grep -q '^KROM_SANITIZE:BOOL=ON' "$build/CMakeCache.txt"; then
  echo "package test: release build only"
  exit 77
fi

cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
for f in bin/krom7316 bin/krom7316-record share/man/man6/krom7316.6 share/man/man1/krom7316-record.1 \
  share/applications/krom7316.desktop share/icons/hicolor/64x64/apps/krom7316.png; do
  [ -e "$scratch/prefix/$f" ] || fail "not installed: $f"
done

(cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" >"$scratch/cpack.log" 2>&1) \
  || fail "cpack: $(tail -5 "$scratch/cpack.log")"
deb=$(ls "$scratch"/*.deb | head -1)
[ -n "$deb" ] || fail "no .deb made"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libx11-6 libpng16-16 libsndfile1; do
  echo "$depends" | grep -q "$lib" || fail "Depends lacks $lib: $depends"
done
dpkg-deb -f "$deb" Recommends | grep -q pulseaudio-utils || fail "Recommends lacks pulseaudio-utils"

dpkg-deb -x "$deb" "$scratch/root"
"$scratch/root/usr/bin/krom7316-record" --seed 1 --frames 10 --png "$scratch" --every 9 \
  || fail "the packaged recorder: status $?"
[ -e "$scratch/frame-000009.png" ] || fail "the packaged recorder wrote no frame"
echo "package test passed"
