#!/usr/bin/env bash
# The checker while watching: the real program with --window --no-launcher --watch. A misspelt command,
# a missing track and an element left open are saved in turn; each time the panel over the scene
# holds one line per finding (red for errors) and standard error holds exactly the lines that
# quorvart-run --check prints for the same disk. F6 puts the panel away until the next save. Then
# data/ is deleted and made again, and saves still reload. Screenshots of each panel are copied to
# $SHOT_DIR when it is set.
set -uo pipefail
source "$(dirname "$0")/lib/x.bash" "$@"

start_display
convert -size 200x100 xc:"#00FF00" "PNG24:$WORK/disk/data/green.png"
scene() {  # writes the document by renaming a finished file over it, as editors save
  printf '%s\n' "$1" >"$WORK/disk/data/.new.XQD" && mv "$WORK/disk/data/.new.XQD" "$WORK/disk/data/QuorvArt.XQD"
}
box() {  # the box item with this onSubmit script
  scene "<scene>
  <item name=\"box\" image=\"data/green.png\" x=\"412\" y=\"334\" cx=\"0\" cy=\"0\" onSubmit=\"$1\"/>
</scene>"
}
err_lines() { wc -l <"$WORK/err.txt"; }
# Waits until standard error, after line $1, ends in exactly what --check prints now (its findings,
# without the summary) and holds nothing else (a save seen in two parts is checked twice), and the
# panel is as tall as those lines with the colour $2 at its border.
expect_round() {
  local from=$1 border=$2 what=$3 expected got lines
  expected=$("$RUNNER" "$WORK/disk" --check | sed '$d')
  lines=$(printf '%s\n' "$expected" | grep -c .)
  for _ in $(seq 50); do
    got=$(tail -n +"$((from + 1))" "$WORK/err.txt" | grep -v '^quorvart: ' | tail -n "$lines")
    [ "$got" = "$expected" ] && break
    sleep 0.1
  done
  tail -n +"$((from + 1))" "$WORK/err.txt" | grep -v '^quorvart: ' | grep -vxF -- "$expected" | grep -q . &&
    fail "$what: standard error holds lines --check does not print"
  [ "$got" = "$expected" ] || fail "$what: standard error says \"$got\", --check says \"$expected\""
  # The panel: 32 from the top, 22 a line and 12 above and below; its last row is its border.
  expect_window_at 40 $((32 + lines * 22 + 24 - 1)) "$border" "$what: the panel's last row"
  [ "$(window_at 40 $((32 + lines * 22 + 24 + 1)))" = 000000 ] || fail "$what: the panel is taller than its lines"
  [ "$(window_at 512 384)" = 00FF00 ] || fail "$what: the scene should stay under the panel"
  if [ -n "${SHOT_DIR:-}" ]; then mkdir -p "$SHOT_DIR" && screenshot "$SHOT_DIR/$4.png"; fi
}

box "Hide box"
mkdir -p "$WORK/elsewhere"
(cd "$WORK/elsewhere" && SDL_VIDEODRIVER=x11 exec "$QUORVART" "$WORK/disk" --window --no-launcher --watch --sound off) \
  >"$WORK/out.txt" 2>"$WORK/err.txt" &
PROGRAM_PID=$!
find_window QuorvArt
expect_window_at 512 384 00FF00 "the first scene"
sleep 1
[ "$(window_at 40 40)" = 000000 ] || fail "a scene without findings shows a panel"

n=$(err_lines)
box "Hdie box"
expect_round "$n" E05050 "a misspelt command" misspelt
grep -q 'unknown command "Hdie" (did you mean "Hide"?)' "$WORK/err.txt" || fail "no did-you-mean"

n=$(err_lines)
box 'PlayTrack .\data\Quorv Part\gone.mod'
expect_round "$n" E05050 "a missing track" track

n=$(err_lines)
scene '<scene>
  <item name="box" image="data/green.png" x="412" y="334" cx="0" cy="0">
</scene>'
expect_round "$n" E05050 "an element left open" unclosed
grep -q '^data/QuorvArt.XQD:2:3: error: element <item name="box"> is not closed' "$WORK/err.txt" ||
  fail "the open element is not where the error is placed"

# Put away with F6, back with the next save.
xdotool key --window "$W" F6
expect_window_at 40 40 000000 "the panel put away"
n=$(err_lines)
box "Hdie box"
expect_round "$n" E05050 "the next save" again

# data/ deleted and made again: saves still reload.
rm -rf "$WORK/disk/data"
expect_window_at 40 40 1D0707 "the panel for a disk without its document"
mkdir "$WORK/disk/data"
convert -size 200x100 xc:"#00FF00" "PNG24:$WORK/disk/data/green.png"
box "Hide box"
expect_window_at 40 40 000000 "the panel gone with data/ back"
n=$(err_lines)
box "Hdie box"
expect_round "$n" E05050 "a save into the new data/" rearmed

close_window "$W"
wait_exit 10
[ "$CODE" = 0 ] || fail "exit code $CODE, expected 0"
echo "PASS"
