#!/usr/bin/env bash
# A disk without its scene document: after the launcher, the message box "Mag data corrupted" with
# the caption "QuorvArts error" is shown and must be closed before the program goes on; it then
# shuts down and ends with exit code 1 (a failure, with the reason on standard error), the settings
# written as usual.
set -uo pipefail
source "$(dirname "$0")/lib/x.bash" "$@"

start_display
start_program
find_window QuorvArt
wait_geometry "$W" "270x180+505+422"
sleep 0.3
xdotool mousemove --window "$W" "${START_BUTTON[@]}" click 1

# The message box is a window of its own with the caption as its title.
box=
for _ in $(seq 100); do
  box=$(xwininfo -root -tree | awk '/"QuorvArts error"/{print $1; exit}')
  [ -n "$box" ] && break
  kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended without the message box"
  sleep 0.1
done
[ -n "$box" ] || fail "no message box \"QuorvArts error\""
sleep 0.5
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program did not wait for the message box"
expect_setting() {
  grep -qx "\"$1\"=hex:$2" "$SETTINGS" || fail "\"$1\" is not hex:$2 in: $(cat "$SETTINGS" 2>/dev/null)"
}
expect_setting windowed 00
expect_setting usesound 01

# Its OK button sits centred near its bottom edge.
read -r bw bh bx by <<<"$(geometry "$box" | tr 'x+' '   ')"
xdotool mousemove $((bx + bw / 2)) $((by + bh - 28)) click 1
wait_exit 10
[ "$CODE" = 1 ] || fail "exit code $CODE after the failed scene load, expected 1"
grep -q "data/QuorvArt.XQD: error: the file cannot be read" "$WORK/err.txt" "$WORK/out.txt" 2>/dev/null ||
  fail "no reason on standard error"
grep -q "Initializing D3D device" "$WORK/out.txt" || fail "no device line on standard output"
echo "PASS"
