#!/usr/bin/env bash
# Fails when a C or C++ file of the tree differs from what .clang-format makes of it; with --fix,
# rewrites those files instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c')
# An empty list means git could not list the tree: a check of nothing must not pass.
if [ ${#files[@]} -eq 0 ]; then echo "no C or C++ files listed (is git installed?)" >&2; exit 2; fi
if [ "${1:-}" = --fix ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
# One clang-format for all files (a file that no longer exists is left out).
existing=()
for f in "${files[@]}"; do [ -f "$f" ] && existing+=("$f"); done
bad=$(clang-format --dry-run "${existing[@]}" 2>&1 | grep -oE '^[^:]+:[0-9]+:[0-9]+: (warning|error)' | cut -d: -f1 | sort -u || true)
for f in $bad; do echo "not formatted: $f (run: bash tools/check-format.sh --fix)"; done
[ -z "$bad" ]
