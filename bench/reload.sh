#!/usr/bin/env bash
# Reload time of the demo disk while watching: the real program under a private Xvfb with
# --window --no-launcher --watch, the scene document saved ten times; prints the program's own
# "reloaded in N ms" lines (from the change seen to the new scene built; the first new frame follows
# within one frame). Usage: bash bench/reload.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=$(mktemp -d)
trap 'kill $program $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
cp -r demo "$work/demo"
export XDG_CONFIG_HOME=$work/config
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do grep -q '[0-9]' "$work/display" 2>/dev/null && break; sleep 0.1; done
DISPLAY=:$(tr -dc '0-9' <"$work/display") SDL_VIDEODRIVER=x11 "$build/quorvart" "$work/demo" --window \
  --no-launcher --watch --sound off >/dev/null 2>"$work/err" &
program=$!
sleep 3
for _ in $(seq 10); do
  touch "$work/demo/data/QuorvArt.XQD"
  sleep 0.7
done
grep "reloaded in" "$work/err"
