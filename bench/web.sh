#!/usr/bin/env bash
# The web player's figures for the README: its size (.wasm and .js, and gzipped), the start press to
# the first frame of the demo, CPU per frame of the demo's busiest screen (home) in the page against
# the desktop program (quorvart-bench under Xvfb, the same screen and frame count per second), and the
# page's memory. The page is the demo published with quorvart-run --web, served on the loopback and
# driven in headless Chromium by puppeteer-core (bench/web.js). About two minutes.
#
#   bash bench/web.sh [PLAYER_DIR]     (default: QA_WEB_PLAYER, else build-web/web)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD=$ROOT/build
player=$(realpath "${1:-${QA_WEB_PLAYER:-build-web/web}}")
[ -f "$player/quorvart.wasm" ] || { echo "no web player in $player (bash tools/web/build-player.sh)" >&2; exit 1; }
source "$ROOT/bench/lib/display.bash" web-bench
server=""
stop_server() { if [ -n "$server" ]; then kill "$server" 2> /dev/null || true; fi; }
trap 'stop_server; cleanup' EXIT
log() { echo "== $*" >&2; }

cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQA_BENCH=ON -DQA_SANITIZE=OFF \
  -DQA_FUZZ=OFF > /dev/null
cmake --build "$BUILD" -j2 --target quorvart-bench quorvart-run >&2
NODE_PATH=$(bash tools/web/puppeteer.sh | tail -1)
export NODE_PATH

QA_WEB_PLAYER=$player "$BUILD/quorvart-run" demo --web "$WORK/site" > /dev/null
size() { stat -c %s "$1"; }
gz() { gzip -9 -c "$1" | wc -c; }
wasm=$WORK/site/quorvart.wasm js=$WORK/site/quorvart.js
kb() { echo $((($1 + 512) / 1024)); }
SIZE="$(kb $(($(size "$wasm") + $(size "$js")))) KiB (.wasm $(kb "$(size "$wasm")"), .js $(kb "$(size "$js")")); gzipped $(kb $(($(gz "$wasm") + $(gz "$js")))) KiB"

source tools/web/serve.bash
serve_folder "$WORK/site" "$WORK/server.txt" || exit 1
log "the page in headless Chromium"
PAGE=$(node bench/web.js "http://127.0.0.1:$port/")
echo "$PAGE" >&2
fig() { sed -n "s/.*\b$1=\([^ ]*\).*/\1/p" <<< "$PAGE"; }

# The desktop program on the same screen: the home screen, 300 frames at 60 a second, timed from its
# hook (CPU per frame of the whole process), median of three.
log "the desktop program under Xvfb"
start_display
desktop() {  # USESOUND: median CPU ms per frame of three runs
  settings 01 "$1"
  for _ in 1 2 3; do
    (cd demo && QUORVART_BENCH_FRAMES=300 "$BUILD/bench/quorvart-bench" 2>&1 > /dev/null |
      sed -n 's/^quorvart-bench .*cpu_ms_per_frame=\([0-9.]*\).*/\1/p')
  done | sort -n | sed -n 2p
}
DESK_OFF=$(desktop 00)
DESK_ON=$(desktop 01)

cat << EOF
| Web player | Measured |
|---|---|
| Size of the player (\`quorvart.wasm\` + \`quorvart.js\`) | $SIZE |
| Start press to the first frame of the demo (median of 5 page loads) | $(fig start_to_first_frame_ms) ms |
| CPU per frame of the demo's busiest screen (home), the page's renderer process; desktop program under Xvfb | sound off **$(fig renderer_cpu_ms_per_frame_nosound) ms** (main thread $(fig main_thread_ms_per_frame_nosound) ms, $(fig fps_nosound) frames/s) against $DESK_OFF ms; sound on **$(fig renderer_cpu_ms_per_frame_sound) ms** (main thread $(fig main_thread_ms_per_frame_sound) ms, $(fig fps_sound) frames/s) against $DESK_ON ms |
| Memory of the page playing the demo with sound | renderer process resident $(fig renderer_rss_mb) MiB; the player's WebAssembly memory $(fig wasm_memory_mb) MiB, JavaScript heap $(fig js_heap_mb) MiB |
EOF
