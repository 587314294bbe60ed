#!/usr/bin/env bash
# The real program on a test disk, twice. First with the mouse: untick "Sound", start in full
# screen (the picture letterboxed on the 1280 x 1024 screen), a key that hides an item, then the
# window closed. Then with the keyboard: the stored settings shown, full screen unticked, sound
# ticked again, started with Enter into a 1024 x 768 window, and ended by a key whose script
# runs ExitApp. Each time the exit code, the settings file and screenshots are checked.
set -uo pipefail
source "$(dirname "$0")/lib/x.bash" "$@"

start_display
# A 200 x 100 red picture with its top-left corner at (412, 334): it covers the screen's centre.
convert -size 200x100 xc:'#FF0000' "PNG24:$WORK/disk/data/box.png"
cat >"$WORK/disk/data/QuorvArt.XQD" <<'XML'
<scene>
  <item name="box" image="data/box.png" x="412" y="334" cx="0" cy="0" onDown="Hide box" onRight="ExitApp"/>
</scene>
XML

launcher_shot() {
  local shot=$WORK/$1.png
  screenshot "$shot"
  FULL=$(pixel "$shot" $((505 + FULLSCREEN_TICK[0])) $((422 + FULLSCREEN_TICK[1])))
  SOUND=$(pixel "$shot" $((505 + SOUND_TICK[0])) $((422 + SOUND_TICK[1])))
}
expect_setting() {
  grep -qx "\"$1\"=hex:$2" "$SETTINGS" || fail "\"$1\" is not hex:$2 in: $(cat "$SETTINGS" 2>/dev/null)"
}

# --- First run: the mouse, full screen.
start_program
find_window QuorvArt
wait_geometry "$W" "270x180+505+422"
sleep 0.3
launcher_shot first
[ "$FULL/$SOUND" = 000000/000000 ] || fail "first run: both boxes should be ticked ($FULL/$SOUND)"
xdotool mousemove --window "$W" "${SOUND_BOX[@]}" click 1
sleep 0.3
launcher_shot unticked
[ "$FULL/$SOUND" = 000000/FFFFFF ] || fail "a click on Sound should untick it ($FULL/$SOUND)"
xdotool mousemove --window "$W" "${START_BUTTON[@]}" click 1
wait_geometry "$W" "1280x1024+0+0"
expect_setting windowed 00
expect_setting usesound 00
sleep 1
shot=$WORK/fullscreen.png
screenshot "$shot"
# The 4:3 picture fills 1280 x 960 between black bars of 32 rows; the red item sits at its centre.
[ "$(pixel "$shot" 640 10)" = 000000 ] || fail "no black bar above the picture"
[ "$(pixel "$shot" 640 1015)" = 000000 ] || fail "no black bar below the picture"
[ "$(pixel "$shot" 640 512)" = FF0000 ] || fail "the red item is not drawn at the centre ($(pixel "$shot" 640 512))"
[ "$(pixel "$shot" 510 512)" = 000000 ] || fail "the red item is drawn too wide"
xdotool mousemove 20 600
xdotool key Down
sleep 0.5
screenshot "$shot"
[ "$(pixel "$shot" 640 512)" = 000000 ] || fail "Down did not hide the item ($(pixel "$shot" 640 512))"
close_window "$W"
wait_exit 10
[ "$CODE" = 0 ] || fail "first run: exit code $CODE after closing the window"
grep -q "Initializing D3D device" "$WORK/out.txt" || fail "no device line on standard output"

# --- Second run: the keyboard, in a window.
start_program
find_window QuorvArt
wait_geometry "$W" "270x180+505+422"
sleep 0.3
launcher_shot second
[ "$FULL/$SOUND" = 000000/FFFFFF ] || fail "the stored settings are not shown ($FULL/$SOUND)"
xdotool mousemove --window "$W" 60 60  # keys go to the window under the pointer
xdotool key space Tab space
sleep 0.3
launcher_shot keyed
[ "$FULL/$SOUND" = FFFFFF/000000 ] || fail "Space and Tab did not change the boxes ($FULL/$SOUND)"
xdotool key Return
# Centred where the launcher was: (640, 512) - (512, 384).
wait_geometry "$W" "1024x768+128+128"
expect_setting windowed 01
expect_setting usesound 01
sleep 1
shot=$WORK/window.png
screenshot "$shot"
[ "$(pixel "$shot" 640 512)" = FF0000 ] || fail "windowed: the red item is not at the window's centre"
[ "$(pixel "$shot" 537 512)" = 000000 ] || fail "windowed: the item is not at its place"
[ "$(pixel "$shot" 543 512)" = FF0000 ] || fail "windowed: the item is not at its place"
xdotool mousemove 700 500
xdotool key Right
wait_exit 10
[ "$CODE" = 0 ] || fail "second run: exit code $CODE after ExitApp"
echo "PASS"
