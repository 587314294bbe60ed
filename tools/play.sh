#!/usr/bin/env bash
# Installs what is missing, builds, and plays the demo disk in a window. Without a display the demo
# is played headless instead, for a few seconds of scripted browsing, with screenshots and a WAV.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
top=$(pwd)
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  cd "$top/demo" && exec "$top/build/quorvart"
fi
out="$top/out/demo"
mkdir -p "$out"
echo "No display found: playing the demo disk headless instead (quorvart-run, 400 frames of scripted browsing)."
shots=()
for f in 30 95 160 215 262 310; do shots+=(--shot "$f:$out/frame-$f.png"); done
"$top/build/quorvart-run" "$top/demo" --frames 400 --input "$top/tests/scenes/demo-walk/input.txt" \
  --trace "$out/trace.jsonl" --audio "$out/sound.wav" "${shots[@]}"
echo "Screenshots, the sound (sound.wav) and the trace (trace.jsonl) are in $out"
