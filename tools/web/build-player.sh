#!/usr/bin/env bash
# Builds the web player: the libraries first (tools/web/build-deps.sh, cached), then the player with
# Debian's emscripten. The last line printed is the folder holding the finished player (index.html,
# quorvart.js, quorvart.wasm).
# Usage: tools/web/build-player.sh [BUILD_DIR]      (default build-web)
# Environment: JOBS (default 2), QA_WEB_CACHE (see build-deps.sh)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-build-web}
jobs=${JOBS:-2}

prefix=$(JOBS=$jobs bash "$here/build-deps.sh" | tail -1)
[ -f "$prefix/lib/libSDL2.a" ] || { echo "build-player: no web libraries in $prefix" >&2; exit 1; }
# The fonts the player embeds.
if [ ! -f /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
    --no-install-recommends fonts-liberation2
fi

# Emscripten 3.1.6 with the machine's newer node (see build-deps.sh).
export NODE_PATH=/usr/share/nodejs
generator=()
if command -v ninja > /dev/null; then generator=(-G Ninja); fi
mkdir -p "$build"
emcmake cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
  -DQA_WEB_PREFIX="$prefix" -DCMAKE_CROSSCOMPILING_EMULATOR="/usr/bin/node;--no-experimental-fetch" \
  > "$build/configure.log" 2>&1 || { cat "$build/configure.log" >&2; exit 1; }
cmake --build "$build" -j "$jobs" >&2
echo "$(cd "$build/web" && pwd)"
