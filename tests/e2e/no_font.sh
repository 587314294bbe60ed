#!/usr/bin/env bash
# With a font configuration that finds no font, the launcher still opens (its labels left out), the
# program says once on standard error that no font was found, and closing the launcher ends it as
# usual (exit code 23).
set -uo pipefail
source "$(dirname "$0")/lib/x.bash" "$@"

printf '<?xml version="1.0"?>\n<fontconfig></fontconfig>\n' >"$WORK/empty-fonts.conf"
export FONTCONFIG_FILE=$WORK/empty-fonts.conf
start_display
printf '<scene><item name="a"/></scene>\n' >"$WORK/disk/data/QuorvArt.XQD"
start_program
find_window QuorvArt
wait_geometry "$W" "270x180+505+422"
sleep 0.3
close_window "$W"
wait_exit 10
[ "$CODE" = 23 ] || fail "exit code $CODE, expected 23"
[ "$(grep -c 'no font found for "Arial"' "$WORK/err.txt")" = 1 ] || fail "no single clear message on standard error"
echo "PASS ($(grep 'no font found' "$WORK/err.txt"))"
