#!/usr/bin/env bash
# Scale: the demo disk grown ten and a hundred times in one dimension at a time (items, script
# statements, timers, archive entries, tracks), each played by quorvart-run for 300 frames of
# 16.667 ms with sound, and its wall-clock time and peak resident set printed as a markdown table.
#
#   bash bench/scale.sh [BUILD]          # BUILD defaults to build/ (quorvart-run must be built)
#   bash bench/scale.sh --make KIND FACTOR DISK   # only write one such disk (a folder, or a .qdisk
#                                                 # for KIND entries)
#
# The disks are the demo with more of one thing, added the way an author would add it:
#   items       copies of the demo's pictures, visible, as children of one extra item
#   statements  extra statements in onLoad scripts of one extra item (Change of an item's x by 0)
#   timers      extra running timers, each moving an item by 0 every 20 ms
#   entries     the demo packed into a .qdisk with extra small files beside its own
#   tracks      the demo's four tracks copied under more names into the music folder
# FACTOR is how many times the demo's own count the disk holds (1 is the demo itself).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)

make_disk() {
  python3 - "$ROOT/demo" "$1" "$2" "$3" <<'EOF'
import os, re, shutil, sys, zipfile
demo, kind, factor, out = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
scene_path = os.path.join(demo, 'data', 'QuorvArt.XQD')
scene = open(scene_path, encoding='utf-8').read()
# The demo's own counts: 70 items, 214 statements, 7 timers, 46 files, 4 tracks.
items = scene.count('<item')
scripts = re.findall(r'\bon[A-Z][A-Za-z]*="([^"]*)"', scene)
statements = sum(len([s for s in a.split(';') if s.strip()]) for a in scripts)
timers = len(set(re.findall(r'SetTimer (\w+)', scene)))
files = [os.path.join(d, f) for d, _, fs in os.walk(demo) for f in fs]
music = os.path.join(demo, 'data', 'Quorv Part')
tracks = sorted(os.listdir(music))

def with_items(extra):
    return scene.replace('</disk>', extra + '</disk>')

if kind != 'entries':
    if os.path.exists(out):
        shutil.rmtree(out)
    shutil.copytree(demo, out)
extra = ''
if kind == 'items':
    pics = ['ball.png', 'ball2.png', 'chip.png', 'star.png', 'button.png']
    n = items * (factor - 1)
    children = ''.join('  <item image="data\\pics\\%s" x="%d" y="%d" cx="0" cy="0" sx="0.25" sy="0.25"/>\n'
                       % (pics[k % len(pics)], k * 7 % 1000, k * 13 % 740) for k in range(n))
    extra = ' <item name="more" cx="0" cy="0">\n' + children + ' </item>\n'
elif kind == 'statements':
    n = statements * (factor - 1)
    per = 100  # statements per script
    lines = []
    for k in range(0, n, per):
        count = min(per, n - k)
        lines.append('  <item name="s%d" onLoad="%s"/>\n' % (k, ';'.join(['Change logo x +0'] * count)))
    extra = ''.join(lines)
elif kind == 'timers':
    n = timers * (factor - 1)
    extra = ' <item name="clocks" onLoad="%s"/>\n' % ';'.join(
        'SetTimer extra%d 0.02 2000000000 Change logo x +0' % k for k in range(n))
elif kind == 'tracks':
    target = os.path.join(out, 'data', 'Quorv Part')
    for k in range(len(tracks) * (factor - 1)):
        name = tracks[k % len(tracks)]
        stem, ext = os.path.splitext(name)
        shutil.copy(os.path.join(music, name), os.path.join(target, '%s %04d%s' % (stem, k, ext)))
if kind == 'entries':
    with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED) as z:
        for f in files:
            z.write(f, os.path.relpath(f, demo))
        for k in range(len(files) * (factor - 1)):
            z.writestr('data/extra/%03d/note%05d.txt' % (k // 500, k), 'note %d\n' % k)
elif extra:
    open(os.path.join(out, 'data', 'QuorvArt.XQD'), 'w', encoding='utf-8').write(with_items(extra))
EOF
}

if [ "${1:-}" = --make ]; then
  make_disk "$2" "$3" "$4"
  exit 0
fi

BUILD=${1:-$ROOT/build}
RUNNER=$BUILD/quorvart-run
[ -x "$RUNNER" ] || { echo "no $RUNNER: build first" >&2; exit 1; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# Prints "seconds peak-KiB" for one run.
measure() {
  /usr/bin/time -f "%e %M" -o "$WORK/time.txt" "$RUNNER" "$1" --frames 300 --frame-ms 16.667 --sound on \
    >/dev/null 2>"$WORK/err.txt" || { echo "run failed on $1:" >&2; cat "$WORK/err.txt" >&2; exit 1; }
  cat "$WORK/time.txt"
}
cell() {
  read -r seconds kib <<<"$1"
  printf '%.2f s, %d MB' "$seconds" $((kib / 1024))
}

echo "| grown | demo (1x) | 10x | 100x |"
echo "|---|---|---|---|"
base=$(cell "$(measure "$ROOT/demo")")
make_disk entries 1 "$WORK/demo.qdisk"
packed=$(cell "$(measure "$WORK/demo.qdisk")")
for kind in items statements timers entries tracks; do
  row="| $kind | $base"
  [ "$kind" = entries ] && row="| $kind | $packed (packed)"
  for factor in 10 100; do
    disk=$WORK/$kind-$factor
    [ "$kind" = entries ] && disk=$disk.qdisk
    make_disk "$kind" "$factor" "$disk"
    row="$row | $(cell "$(measure "$disk")")"
    rm -rf "$disk"
  done
  echo "$row |"
done
