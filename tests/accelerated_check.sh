#!/usr/bin/env bash
# The tests of the devices on SDL's accelerated renderer, on a private X display (Xvfb, where the
# renderer is OpenGL on llvmpipe): random copies, random scenes and the demo walk drawn in part and
# checked pixel for pixel against the full frames, lost render targets, a resized window. Without a
# display those tests skip; here a skipped drawing test fails the run.
# Usage: tests/accelerated_check.sh TESTS_EXECUTABLE [GTEST_FILTER]
set -euo pipefail
tests=$1
filter=${2:-AcceleratedDrawing.*:SdlWindowDevice.*}
work=$(mktemp -d /tmp/quorvart-accelerated.XXXXXX)
xvfb=
cleanup() {
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT
# -noreset: the server stays for the next client when the last one leaves.
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset 5>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do grep -q '[0-9]' "$work/display" 2>/dev/null && break; sleep 0.1; done
grep -q '[0-9]' "$work/display" || { echo "FAILED: Xvfb did not start"; exit 1; }
DISPLAY=:$(tr -dc '0-9' <"$work/display")
export DISPLAY
export SDL_VIDEODRIVER=x11
if ! "$tests" --gtest_filter="$filter" >"$work/out" 2>&1; then
  cat "$work/out"; exit 1
fi
if ! grep -qE '^\[  PASSED  \] [1-9]' "$work/out"; then
  echo "FAILED: no test matched $filter"; cat "$work/out"; exit 1
fi
if grep -q 'SKIPPED \] AcceleratedDrawing' "$work/out"; then
  echo "FAILED: the accelerated device did not run"; cat "$work/out"; exit 1
fi
grep -E '^\[  (PASSED|SKIPPED) ' "$work/out"
