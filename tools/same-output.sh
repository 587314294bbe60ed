#!/usr/bin/env bash
# Plays the demo walk and the test scenes with the runner (trace, screenshots, WAV) and either records
# the results (record DIR) or checks that a build gives byte-identical files (compare DIR).
# Usage: tools/same-output.sh record|compare DIR [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
mode=$1
ref=$2
build=${3:-build}
run="$build/quorvart-run"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

play() {  # NAME DISK FRAMES [INPUT] [SHOTS...]
  local name=$1 disk=$2 frames=$3 input=${4:-}
  shift 4 || shift $#
  local args=("$disk" --frames "$frames" --trace "$out/$name.jsonl" --audio "$out/$name.wav")
  [ -n "$input" ] && args+=(--input "$input")
  for f in "$@"; do args+=(--shot "$f:$out/$name-$f.png"); done
  "$run" "${args[@]}" > "$out/$name.stdout" 2>&1 || echo "exit $?" >> "$out/$name.stdout"
}

play demo-walk demo 400 tests/scenes/demo-walk/input.txt 1 30 95 160 215 262 310
play basic tests/scenes/basic 30 tests/scenes/basic/input.txt 1 5 29
play pictures tests/scenes/pictures 10 tests/scenes/pictures/input.txt 2 9
play timers tests/scenes/timers 200 "" 1 50 100 199
for g in tests/scenes/guide/*/; do
  n=guide-$(basename "$g")
  play "$n" "$g" 120 "" 1 60 119
done
"$run" demo --check > "$out/demo-check.stdout" 2>&1 || true

if [ "$mode" = record ]; then
  rm -rf "$ref" && mkdir -p "$ref" && cp "$out"/* "$ref"/
  echo "recorded $(ls "$ref" | wc -l) files in $ref"
else
  if diff -r -q "$ref" "$out"; then
    echo "same output: $(ls "$ref" | wc -l) files byte-identical"
  else
    echo "OUTPUT DIFFERS" >&2
    exit 1
  fi
fi
