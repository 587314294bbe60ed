#!/usr/bin/env bash
# Installs what is missing, builds, and plays the demo disk in a window. Without a display the demo
# is played headless for a few seconds of scripted browsing instead, with screenshots and a WAV.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
top=$(pwd)
disk="$top/demo"
[ -f "$disk/data/QuorvArt.XQD" ] || disk="$top/tests/scenes/basic"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  cd "$disk" && exec "$top/build/quorvart"
fi
out="$top/out/demo"
mkdir -p "$out"
echo "No display found: playing $disk headless instead."
"$top/build/quorvart-run" "$disk" --frames 600 \
  --trace "$out/trace.jsonl" --shot "60:$out/frame-60.png" --shot "600:$out/frame-600.png"
echo "Trace and screenshots are in $out"
