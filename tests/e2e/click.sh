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

(cd "$WORK/disk" && SDL_VIDEODRIVER=x11 exec "$QUORVART" --window --no-launcher --sound off) \
  >"$WORK/out.txt" 2>"$WORK/err.txt" &
PROGRAM_PID=$!
find_window QuorvArt
wait_geometry "$W" "1024x768+128+128"
expect_window_at 150 150 0000FF "the first button is not drawn"
xdotool mousemove --window "$W" 200 150
sleep 0.5
# One command: the move and the press reach the program together.
xdotool mousemove --window "$W" 200 350 click 1
expect_window_at 750 500 00FF00 "the click did not open the page of the button under the pointer"
[ "$(window_at 750 200)" = 000000 ] || fail "the click opened the page of the button the pointer left"
close_window "$W"
wait_exit 10
[ "$CODE" = 0 ] || fail "exit code $CODE after closing the window"
echo "PASS"
