#!/usr/bin/env bash
# The real program plays its music folder as a rotating playlist: a module of about a second, then an
# Ogg stream of one second, then the module again. With no sound card it runs on the no-sound output;
# with SDL's disk audio driver the sound it plays is recorded and the tracks are found in it, on time.
set -uo pipefail
source "$(dirname "$0")/lib/x.bash" "$@"

start_display
cat >"$WORK/disk/data/QuorvArt.XQD" <<'XML'
<scene><item name="x" onRight="ExitApp"/></scene>
XML
music="$WORK/disk/data/Quorv Part"
mkdir -p "$music"
# a.mod: a 259 Hz tone for 16 rows at speed 3 (0.96 s); b.ogg: 1500 Hz for 1 s.
python3 "$SOURCE/tools/gen/make_mod.py" "$music/a.mod" --orders 1 --rows 16 --speed 3 || fail "no module"
sox -n -r 44100 -c 2 -b 16 -e signed-integer "$WORK/b.wav" synth 1.0 sine 1500 vol 0.5 || fail "no wav"
oggenc -Q -o "$music/b.ogg" "$WORK/b.wav" || fail "no ogg"
mkdir -p "$(dirname "$SETTINGS")"
printf 'Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Brennick\\QuorvArt]\n"windowed"=hex:01\n"usesound"=hex:01\n' >"$SETTINGS"

run_for() {  # seconds; starts from the launcher with Enter, then ends with ExitApp
  start_program
  find_window QuorvArt
  sleep 0.3
  xdotool mousemove --window "$W" 60 60
  xdotool key Return
  sleep "$1"
  xdotool mousemove 300 300
  xdotool key Right
  wait_exit 10
  [ "$CODE" = 0 ] || fail "exit code $CODE"
}

# No sound card: the no-sound output, the tracks still load and are cleaned up.
run_for 2.5
grep -q "^FSOUND Output Method : FSOUND_OUTPUT_NOSOUND" "$WORK/out.txt" \
  || fail "no output method line"
[ "$(grep -c '^Loading ' "$WORK/out.txt")" = 2 ] || fail "the two tracks were not loaded"
grep -q "^music cleanup" "$WORK/out.txt" && grep -q "^mstream cleanup" "$WORK/out.txt" || fail "no cleanup lines"

# Recorded through SDL's disk audio driver (32-bit float stereo at 44100 Hz, in real time).
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/sound.raw"
run_for 4.5
python3 - "$WORK/sound.raw" <<'PY' || fail "the recorded sound is not the playlist on time"
import array, math, sys
data = array.array("f")
with open(sys.argv[1], "rb") as f:
    data.frombytes(f.read())
left = data[0::2]
rate, window = 44100, 441
labels = []
for start in range(0, len(left) - window, window):
    part = left[start:start + window]
    if math.sqrt(sum(v * v for v in part) / window) < 0.01:
        labels.append("-")
        continue
    crossings = sum(1 for i in range(1, window) if part[i - 1] < 0 <= part[i])
    hz = crossings * rate / window
    labels.append("a" if hz < 600 else "b")
text = "".join(labels)
first_a, first_b = text.find("a"), text.find("b")
second_a = text.find("a", first_b)
print("10 ms windows:", text[:600])
assert first_a >= 0 and first_b > first_a and second_a > first_b, "tracks missing or out of order"
a_len = (first_b - first_a) / 100
b_len = (second_a - first_b) / 100
assert 0.9 <= a_len <= 1.2, "module played %.2f s" % a_len
assert 0.95 <= b_len <= 1.15, "stream played %.2f s" % b_len
print("module %.2f s, stream %.2f s" % (a_len, b_len))
PY
echo "PASS"
