#!/usr/bin/env bash
# What a still screen costs: the real program on a private X display (Xvfb) showing the demo's menu
# (its stars drifting), the same menu and the magazine's first page (the most copies) with the window
# in full screen, each for N frames at the display's pace; prints CPU per frame, wall time per frame
# and the process's share of one core.
#
#   bash bench/idle.sh [FRAMES] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
FRAMES=${1:-600}
BUILD=${2:-$ROOT/build}
source "$ROOT/bench/lib/display.bash" idle
start_display
run() {  # label [keys]
  local line
  line=$(cd "$ROOT/demo" && QUORVART_BENCH_FRAMES=$FRAMES QUORVART_BENCH_KEYS="${2:-}" "$BUILD/bench/quorvart-bench" 2>&1 >/dev/null |
    grep '^quorvart-bench' || true)
  [ -n "$line" ] || { echo "quorvart did not finish a timing run" >&2; exit 1; }
  python3 - "$1" "$line" <<'PY'
import re, sys
f = dict(re.findall(r"(\w+)=([0-9.]+)", sys.argv[2]))
cpu, wall = float(f["cpu_ms_per_frame"]), float(f["wall_ms_per_frame"])
print(f"{sys.argv[1]:<28} cpu {cpu:.3f} ms/frame  wall {wall:.2f} ms/frame  share {100 * cpu / wall:.2f}% of a core")
PY
}
settings 01 00
run "menu, window"
settings 00 00
run "menu, full screen"
run "magazine page, full screen" "30:13"
settings 01 01
run "menu, window, sound on"
