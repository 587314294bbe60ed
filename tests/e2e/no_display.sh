#!/usr/bin/env bash
# Without any display the program says so on standard error and ends with a non-zero code (not a
# crash), writing no settings.
set -uo pipefail
source "$(dirname "$0")/lib/x.bash" "$@"

unset DISPLAY WAYLAND_DISPLAY
printf '<scene><item name="a"/></scene>\n' >"$WORK/disk/data/QuorvArt.XQD"
code=0
(cd "$WORK/disk" && exec timeout 20 "$QUORVART") >"$WORK/out.txt" 2>"$WORK/err.txt" || code=$?
[ "$code" != 0 ] || fail "exit code 0 without a display"
[ "$code" -lt 124 ] || fail "exit code $code: a crash or a hang, not a clean end"
grep -qi "no display" "$WORK/err.txt" || fail "no clear message on standard error"
[ ! -e "$XDG_CONFIG_HOME/Brennick" ] || fail "settings were written"
echo "PASS (exit code $code: $(grep -i "no display" "$WORK/err.txt" | head -n 1))"
