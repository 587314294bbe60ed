#!/usr/bin/env bash
# Fails when a C or C++ file of the tree differs from what .clang-format makes of it; with --fix,
# rewrites those files instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c')
if [ "${1:-}" = --fix ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
bad=0
for f in "${files[@]}"; do
  [ -f "$f" ] || continue
  if ! clang-format "$f" | cmp -s - "$f"; then
    echo "not formatted: $f (run: bash tools/check-format.sh --fix)"
    bad=1
  fi
done
exit $bad
