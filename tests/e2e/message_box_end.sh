#!/usr/bin/env bash
# While the "Mag data corrupted" box is up, an end that is asked for ends the program with its exit
# code and takes the box with it: SIGTERM (a watchdog, `timeout`), SIGINT (Ctrl-C), and the window
# manager's close of the box.
set -uo pipefail
source "$(dirname "$0")/lib/x.bash" "$@"

start_display
printf '<scene><item name="a"\n' >"$WORK/disk/data/QuorvArt.XQD"

box_window() {
  xwininfo -root -tree | awk '/"QuorvArts error"/{print $1; exit}'
}
wait_box() {
  BOX=
  for _ in $(seq 100); do
    BOX=$(box_window)
    [ -n "$BOX" ] && return 0
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended without the message box"
    sleep 0.1
  done
  fail "no message box \"QuorvArts error\""
}
start_with_box() {
  (cd "$WORK/disk" && SDL_VIDEODRIVER=x11 exec "$QUORVART" --no-launcher --window --sound off) \
    >"$WORK/out.txt" 2>"$WORK/err.txt" &
  PROGRAM_PID=$!
  wait_box
  sleep 0.3
}

for how in TERM INT close; do
  start_with_box
  if [ "$how" = close ]; then
    close_window "$BOX"
  else
    kill -s "$how" "$PROGRAM_PID"
  fi
  wait_exit 5
  [ "$CODE" = 1 ] || fail "$how: exit code $CODE with the box up, expected 1"
  sleep 0.3
  [ -z "$(box_window)" ] || fail "$how: the message box stayed up after the program ended"
done
echo "PASS"
