#!/usr/bin/env bash
# The launcher on a first run: both boxes ticked, its picture and button drawn, Esc does nothing,
# and closing it ends the program with exit code 23 without writing any settings.
# shellcheck disable=SC2046  # at() gives "X Y", meant to be split into two arguments
set -uo pipefail
source "$(dirname "$0")/lib/x.bash" "$@"

start_display
printf '<scene><item name="a"/></scene>\n' >"$WORK/disk/data/QuorvArt.XQD"
start_program
find_window QuorvArt
wait_geometry "$W" "270x180+505+422"  # the dialog's 180 x 111 units, centred on the screen
sleep 0.3

shot=$WORK/launcher.png
screenshot "$shot"
at() { echo $((505 + $1)) $((422 + $2)); }  # "X Y": split into two arguments where used
[ "$(pixel "$shot" $(at "${FULLSCREEN_TICK[@]}"))" = 000000 ] || fail "Fullscreen is not ticked"
[ "$(pixel "$shot" $(at "${SOUND_TICK[@]}"))" = 000000 ] || fail "Sound is not ticked"
[ "$(pixel "$shot" $(at "${BUTTON_FACE[@]}"))" = D4D0C8 ] || fail "the start button is not drawn"
rgb "$shot" $(at 197 68)  # the sun in the picture
[ "$R" -gt 200 ] && [ "$B" -lt 160 ] || fail "the launcher picture is not drawn ($R $G $B)"

# Esc sends the cancel command, which the launcher ignores.
xdotool mousemove --window "$W" 100 60
xdotool key Escape
sleep 0.5
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "Esc ended the launcher"

close_window "$W"
wait_exit 10
[ "$CODE" = 23 ] || fail "exit code $CODE, expected 23"
[ ! -e "$XDG_CONFIG_HOME/Brennick" ] || fail "closing the launcher wrote settings"
[ ! -s "$WORK/out.txt" ] || fail "unexpected output: $(cat "$WORK/out.txt")"
echo "PASS"
