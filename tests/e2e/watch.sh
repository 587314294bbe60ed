#!/usr/bin/env bash
# The authoring loop: the real program started from another folder with --window --no-launcher
# --watch. A rewritten scene document shows on screen; a broken save keeps the old scene with the
# error panel over it and says why on standard error; the next good save clears the panel. A scene
# that names a missing picture shows, with the checker's finding in the panel and on standard error,
# until the picture is saved. Then a copy of the program beside its disk, started
# from elsewhere without naming the disk, finds it.
set -uo pipefail
source "$(dirname "$0")/lib/x.bash" "$@"

start_display
for c in FF0000 00FF00 0000FF; do convert -size 200x100 xc:"#$c" "PNG24:$WORK/disk/data/$c.png"; done
scene() {  # writes the document by renaming a finished file over it, as editors save
  printf '%s\n' "$1" >"$WORK/disk/data/.new.XQD" && mv "$WORK/disk/data/.new.XQD" "$WORK/disk/data/QuorvArt.XQD"
}
box() { scene "<scene><item name=\"box\" image=\"data/$1.png\" x=\"412\" y=\"334\" cx=\"0\" cy=\"0\"/></scene>"; }


box FF0000
mkdir -p "$WORK/elsewhere"
(cd "$WORK/elsewhere" && SDL_VIDEODRIVER=x11 exec "$QUORVART" "$WORK/disk" --window --no-launcher --watch --sound off) \
  >"$WORK/out.txt" 2>"$WORK/err.txt" &
PROGRAM_PID=$!
find_window QuorvArt
expect_window_at 512 384 FF0000 "the first scene"

box 00FF00
expect_window_at 512 384 00FF00 "the rewritten scene"

scene "<scene><item name=\"box\" image=\"data/0000FF.png\" x=\"412\" y=\"334\"></scene>"
expect_window_at 40 40 1D0707 "the error panel"  # its dark box, over the old scene
[ "$(window_at 512 384)" = 00FF00 ] || fail "the old scene should stay while the new one is broken"
grep -q "^data/QuorvArt.XQD:1:[0-9]*: error: " "$WORK/err.txt" || fail "no error line on standard error"

box 0000FF
expect_window_at 512 384 0000FF "the next good save"
expect_window_at 40 40 000000 "the panel should be gone"

lost='<item name="lost" image="data/lost.png" x="0" y="0" cx="0" cy="0"/>'
scene "<scene><item name=\"box\" image=\"data/0000FF.png\" x=\"412\" y=\"334\" cx=\"0\" cy=\"0\"/>$lost</scene>"
expect_window_at 40 40 1D0707 "the checker's panel"  # an error, as --check calls a missing picture
[ "$(window_at 512 384)" = 0000FF ] || fail "a scene with a missing picture should still show"
grep -q '^data/QuorvArt.XQD:1:[0-9]*: error: item "lost" image: picture "data/lost.png" does not exist' \
  "$WORK/err.txt" || fail "no finding on standard error"
convert -size 200x100 xc:"#00FF00" "PNG24:$WORK/lost.png" && mv "$WORK/lost.png" "$WORK/disk/data/lost.png"
expect_window_at 40 40 00FF00 "the saved picture, with the finding gone"
[ -e "$SETTINGS" ] && fail "choices given on the command line were stored"

close_window "$W"
wait_exit 10
[ "$CODE" = 0 ] || fail "exit code $CODE, expected 0"

# A disk shipped with the program beside it, started from another folder.
cp "$QUORVART" "$WORK/disk/quorvart"
(cd "$WORK/elsewhere" && SDL_VIDEODRIVER=x11 exec "$WORK/disk/quorvart" --window --no-launcher --sound off) \
  >"$WORK/out.txt" 2>"$WORK/err.txt" &
PROGRAM_PID=$!
find_window QuorvArt
expect_window_at 512 384 0000FF "the disk beside the program"
close_window "$W"
wait_exit 10
[ "$CODE" = 0 ] || fail "exit code $CODE, expected 0"
echo "PASS"
