#!/usr/bin/env bash
# Runs shellcheck on every shell script of the tree (the .sh files, .ci/run and the sourced .bash
# libraries); fails on any warning or error (its notes on style are left out).
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t scripts < <(git ls-files '*.sh' '*.bash' .ci/run)
if [ ${#scripts[@]} -eq 0 ]; then echo "no scripts listed (is git installed?)" >&2; exit 2; fi
# -x follows the files the scripts source; sourced libraries are checked as bash.
shellcheck -x -S warning -s bash "${scripts[@]}"
