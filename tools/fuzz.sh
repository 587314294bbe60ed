#!/usr/bin/env bash
# Builds the libFuzzer targets in the checking build (clang, AddressSanitizer and UBSan, build-asan/,
# shared with the test programs of tools/test.sh) and runs each for a while on a copy of its seed
# corpus. Usage: tools/fuzz.sh [SECONDS per target, default 10] [target names...]
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
seconds=${1:-10}
shift || true
build="build-asan"
bash tools/checking-build.sh
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
cmake --build "$build" --target "${targets[@]}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for t in "${targets[@]}"; do
  corpus="$work/${t#fuzz_}"
  mkdir -p "$corpus" "$work/artifacts"
  cp -r "$top/fuzz/corpus/${t#fuzz_}/." "$corpus/" 2>/dev/null || true
  # The targets change the working folder: every path given to them is absolute.
  if "$top/$build/fuzz/$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
      -artifact_prefix="$work/artifacts/$t-" "$corpus" > "$work/$t.log" 2>&1; then
    echo "$t: $(grep -E '^#[0-9]+' "$work/$t.log" | tail -1)"
  else
    echo "$t: FAILED"; tail -40 "$work/$t.log"; status=1
    cp "$work"/artifacts/* "$top/$build/" 2>/dev/null || true
  fi
done
exit $status
