#!/usr/bin/env bash
# The real program in a window: the pointer rests on one button, then jumps to another and clicks
# at once (as a tap on a touch screen does). The click opens the page of the button under the
# pointer, not of the one it left.
set -uo pipefail
source "$(dirname "$0")/lib/x.bash" "$@"

start_display
convert -size 200x100 xc:'#0000FF' "PNG24:$WORK/disk/data/button.png"
convert -size 300x200 xc:'#FF0000' "PNG24:$WORK/disk/data/red.png"
convert -size 300x200 xc:'#00FF00' "PNG24:$WORK/disk/data/green.png"
cat >"$WORK/disk/data/QuorvArt.XQD" <<'XML'
<scene>
  <item name="pageA" image="data/red.png" x="600" y="100" cx="0" cy="0" show="0"/>
  <item name="pageB" image="data/green.png" x="600" y="400" cx="0" cy="0" show="0"/>
  <item name="a" image="data/button.png" x="100" y="100" cx="0" cy="0" onSubmit="Activate pageA"/>
  <item name="b" image="data/button.png" x="100" y="300" cx="0" cy="0" onSubmit="Activate pageB"/>
</scene>
XML

# The program in a window, then full screen (the picture scaled by 1.25 between black bars of 32
# rows): virtual (x, y) is screen (x * 1.25, y * 1.25 + 32) there.
for mode in window fullscreen; do
  (cd "$WORK/disk" && SDL_VIDEODRIVER=x11 exec "$QUORVART" --$mode --no-launcher --sound off) \
    >"$WORK/out.txt" 2>"$WORK/err.txt" &
  PROGRAM_PID=$!
  find_window QuorvArt
  if [ $mode = window ]; then
    wait_geometry "$W" "1024x768+128+128"
    at() { echo "$1 $2"; }
  else
    wait_geometry "$W" "1280x1024+0+0"
    at() { echo "$(($1 * 5 / 4)) $(($2 * 5 / 4 + 32))"; }
  fi
  # shellcheck disable=SC2046
  expect_window_at $(at 150 150) 0000FF "$mode: the first button is not drawn"
  # shellcheck disable=SC2046
  xdotool mousemove --window "$W" $(at 200 150)
  sleep 0.5
  # One command: the move and the press reach the program together.
  # shellcheck disable=SC2046
  xdotool mousemove --window "$W" $(at 200 350) click 1
  # shellcheck disable=SC2046
  expect_window_at $(at 750 500) 00FF00 "$mode: the click did not open the page of the button under the pointer"
  # shellcheck disable=SC2046
  [ "$(window_at $(at 750 200))" = 000000 ] || fail "$mode: the click opened the page of the button the pointer left"
  close_window "$W"
  wait_exit 10
  [ "$CODE" = 0 ] || fail "$mode: exit code $CODE after closing the window"
done
echo "PASS"
