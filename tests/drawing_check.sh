#!/usr/bin/env bash
# Plays the demo walk and the test scenes with every frame drawn, each frame the device draws in part
# checked pixel for pixel against the same frame drawn in full (the device stops the run on a
# difference). Usage: tests/drawing_check.sh RUNNER SOURCE_DIR
set -euo pipefail
run=$1
cd "$2"
export QUORVART_VERIFY_DRAW=1
check() {  # DISK FRAMES [INPUT]
  local args=("$1" --pixels --frames "$2")
  [ -n "${3:-}" ] && args+=(--input "$3")
  if ! "$run" "${args[@]}" > /dev/null 2> "$tmp"; then
    echo "FAILED: $1"; cat "$tmp"; exit 1
  fi
  if grep -q "drawing check" "$tmp"; then
    echo "FAILED: $1"; cat "$tmp"; exit 1
  fi
}
tmp=$(mktemp)
ref=$(mktemp -d)
trap 'rm -rf "$tmp" "$ref"' EXIT
check demo 400 tests/scenes/demo-walk/input.txt
check tests/scenes/basic 30 tests/scenes/basic/input.txt
check tests/scenes/pictures 10 tests/scenes/pictures/input.txt
check tests/scenes/timers 200
for g in tests/scenes/guide/*/; do check "$g" 120; done
# Sprites moving and text scrolling over a still full-screen picture, every frame.
python3 bench/reference_disk.py "$ref/disk" > /dev/null
check "$ref/disk" 60
echo "every frame drawn in part matched the full frame"
