#!/usr/bin/env bash
# Installs every Debian package that building, testing and playing need. Idempotent: packages that
# are already present are not fetched again, and the package lists are refreshed only when needed.
set -euo pipefail

PACKAGES=(
  git build-essential cmake ninja-build pkg-config clang clang-format clang-tidy lld libclang-rt-14-dev llvm ccache
  shellcheck
  libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libfreetype-dev fonts-liberation
  libexpat1-dev
  libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev
  libopenmpt-dev libmpg123-dev libvorbis-dev libsoxr-dev libsndfile1-dev
  libzip-dev
  libfontconfig-dev dpkg-dev file
  xvfb libgl1-mesa-dri xdotool x11-utils imagemagick xfonts-base openmpt123 lame vorbis-tools sox python3
  chromium nodejs
)
# The web tests' driver comes from the npm registry (tools/web/puppeteer.sh): Debian's npm, unless
# the installed node brings its own.
if ! command -v npm > /dev/null; then PACKAGES+=(npm); fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
