# Installs the Debian packages named as arguments that are not installed yet (with sudo when
# not root). Sourced by run.sh and test.sh.
krom_install() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The browser build (tools/web.sh) and its test in headless Chromium (tools/web.sh --test).
KROM_WEB_PACKAGES=(emscripten cmake ninja-build python3)
KROM_WEB_TEST_PACKAGES=(chromium imagemagick)

# dpkg-dev: cpack computes the package's dependencies with its dpkg-shlibdeps.
KROM_BUILD_PACKAGES=(g++ cmake ninja-build pkg-config libx11-dev libasound2-dev libsamplerate0-dev libpng-dev
                     libsndfile1-dev dpkg-dev libavformat-dev libavcodec-dev libswscale-dev libavutil-dev)
KROM_TEST_PACKAGES=(libgtest-dev libbenchmark-dev xvfb xauth xdotool imagemagick x11-utils alsa-oss faketime sox
                    libclang-rt-14-dev clang pulseaudio pulseaudio-utils libasound2-plugins lintian
                    desktop-file-utils appstream file ffmpeg)
