# Install and package as a distribution would: cmake --install lays out both programs among the
# games, compressed manual pages, licence and changelog, the desktop entry, the icons in every
# usual size and the AppStream data, and the distribution's validators accept them; cpack builds
# a .deb with computed, versioned dependencies on which lintian reports no error and no warning.
. "$2/tests/e2e/lib.bash"
if grep -q '^KROM_SANITIZE:BOOL=ON' "$build/CMakeCache.txt"; then
  echo "package test: release build only"
  exit 77
fi

prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in games/krom7316 games/krom7316-record share/man/man6/krom7316.6.gz share/man/man1/krom7316-record.1.gz \
  share/doc/krom7316/copyright share/doc/krom7316/changelog.gz share/applications/io.github.krom7316.desktop \
  share/metainfo/io.github.krom7316.metainfo.xml; do
  [ -e "$prefix/$f" ] || fail "not installed: $f"
done
# Each icon is drawn at its own size.
for size in 16 22 24 32 48 64 128 256; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/krom7316.png"
  [ -e "$icon" ] || fail "no ${size}x${size} icon"
  [ "$(identify -format %wx%h "$icon")" = "${size}x${size}" ] || fail "icon ${size}: $(identify -format %wx%h "$icon")"
done
# The manual pages read as pages once unpacked.
for page in share/man/man6/krom7316.6.gz share/man/man1/krom7316-record.1.gz; do
  zcat "$prefix/$page" | grep -q '^\.TH ' || fail "$page is not a compressed manual page"
done

desktop-file-validate "$prefix/share/applications/io.github.krom7316.desktop" >"$scratch/desktop.log" 2>&1 ||
  fail "desktop-file-validate: $(cat "$scratch/desktop.log")"
[ ! -s "$scratch/desktop.log" ] || fail "desktop-file-validate has remarks: $(cat "$scratch/desktop.log")"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/io.github.krom7316.metainfo.xml" \
  >"$scratch/appstream.log" 2>&1 || fail "appstreamcli validate: $(cat "$scratch/appstream.log")"

(cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" >"$scratch/cpack.log" 2>&1) ||
  fail "cpack: $(tail -5 "$scratch/cpack.log")"
deb=$(ls "$scratch"/*.deb | head -1)
[ -n "$deb" ] || fail "no .deb made"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in 'libc6 (>= ' libx11-6 'libasound2 (>= ' 'libsamplerate0 (>= ' 'libpng16-16 (>= ' 'libsndfile1 (>= '; do
  echo "$depends" | grep -qF "$lib" || fail "Depends lacks '$lib': $depends"
done
[ "$(dpkg-deb -f "$deb" Description | wc -l)" -gt 3 ] || fail "no extended description"
# The programs are stripped: no symbol table in the package.
dpkg-deb -x "$deb" "$scratch/root"
for p in krom7316 krom7316-record; do
  file "$scratch/root/usr/games/$p" | grep -q ', stripped' || fail "$p is not stripped: $(file "$scratch/root/usr/games/$p")"
done

lintian --pedantic "$deb" >"$scratch/lintian.log" 2>&1 || true
if grep -E '^[EW]: ' "$scratch/lintian.log"; then
  fail "lintian reports errors or warnings (above)"
fi
sed -n '/^[IPX]: /p' "$scratch/lintian.log"   # hints, shown but accepted
echo "package test passed"
