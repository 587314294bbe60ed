#!/usr/bin/env bash
# Runs clang-tidy (the checks chosen in .clang-tidy) over the project's own sources (src/, tools/,
# bench/, fuzz/), with the compile commands of build-tidy/ (configured here for clang, one entry per
# source file, nothing built); fails on any finding.
# Usage: tools/tidy.sh [FILES...]
#        tools/tidy.sh --system   the system's own code only (src/app, src/scene, src/script, src/sound,
#                                 src/engine, src/check) and its headers, with the compile commands of
#                                 the checking build (build-asan/, made before), two files at a time:
#                                 what CI runs (about 2 minutes on two cores)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--system" ]; then
  [ -f build-asan/compile_commands.json ] || { echo "tidy.sh --system: build-asan/ is not configured"; exit 2; }
  system='/src/(app|scene|script|sound|engine|check)/'
  if ! run-clang-tidy -p build-asan -j 2 -quiet -header-filter="$system" "${system}[^/]*\.cpp$" \
      >build-asan/tidy.txt 2>&1; then
    grep -E 'warning:|error:' -A3 build-asan/tidy.txt || cat build-asan/tidy.txt
    echo "clang-tidy: findings above (checks in .clang-tidy)"
    exit 1
  fi
  echo "clang-tidy: the system's code clean"
  exit 0
fi
build="build-tidy"
files=("$@")
if [ -f "$build/CMakeCache.txt" ] && ! grep -q '^CMAKE_CXX_COMPILER:.*clang' "$build/CMakeCache.txt"; then
  rm -rf "$build"
fi
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQA_FUZZ=ON \
  -DQA_BENCH=ON -DQA_UNITY=OFF > /dev/null
if [ ${#files[@]} -eq 0 ]; then
  # The project's sources that the build compiles.
  mapfile -t files < <(git ls-files 'src/*.cpp' 'tools/*.cpp' 'bench/*.cpp' 'fuzz/*.cpp' |
    grep -Fx -f <(python3 -c 'import json, os, sys; [print(os.path.relpath(e["file"])) for e in json.load(open(sys.argv[1]))]' \
      "$build/compile_commands.json") || true)
fi
out=$(mktemp)
trap 'rm -f "$out"' EXIT
# Two clang-tidy processes at a time, four files each; the findings are printed together at the end.
if ! printf '%s\0' "${files[@]}" |
    xargs -0 -n 4 -P 2 clang-tidy -p "$build" --quiet --warnings-as-errors='*' >"$out" 2>/dev/null; then
  grep -E 'warning:|error:' -A3 "$out" || cat "$out"
  echo "clang-tidy: findings above (checks in .clang-tidy)"
  exit 1
fi
echo "clang-tidy: ${#files[@]} files clean"
