#!/usr/bin/env bash
# Runs clang-tidy (the checks chosen in .clang-tidy) over the project's own sources, with the compile
# commands of a configured build; fails on any finding.
# Usage: tools/tidy.sh [BUILD_DIR, default build-asan] [FILES...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-asan}
shift || true
files=("$@")
if [ ${#files[@]} -eq 0 ]; then
  mapfile -t files < <(git ls-files 'src/*.cpp' 'tools/*.cpp' 'bench/*.cpp' 'fuzz/*.cpp')
fi
[ -f "$build/compile_commands.json" ] || { echo "tidy: no $build/compile_commands.json (configure first)" >&2; exit 2; }
out=$(mktemp)
trap 'rm -f "$out"' EXIT
# Two at a time, each file on its own; the findings are printed together at the end.
if ! printf '%s\0' "${files[@]}" |
    xargs -0 -n 4 -P 2 clang-tidy -p "$build" --quiet --warnings-as-errors='*' >"$out" 2>/dev/null; then
  grep -E 'warning:|error:' -A3 "$out" || cat "$out"
  echo "clang-tidy: findings above (checks in .clang-tidy)"
  exit 1
fi
echo "clang-tidy: ${#files[@]} files clean"
