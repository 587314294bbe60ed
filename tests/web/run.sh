#!/usr/bin/env bash
# The web player in headless Chromium: publishes the demo with quorvart-run --web, serves the folder
# with a static server on the loopback and drives the page with puppeteer-core (tests/web/page.js):
# the start screen, sound started by a trusted press, the demo walk in virtual time against the
# runner's screenshots, a dropped disk, a broken disk's error panel.
# Usage: tests/web/run.sh QUORVART_RUN SOURCE_DIR [PLAYER_DIR]   (QA_WEB_PLAYER, when set, wins;
# QA_WEB_TESTS=name,name runs only those of page.js)
# Exit 77 (skipped) when no web player has been built (tools/web/build-player.sh builds it).
set -euo pipefail
run=$(realpath "$1")
src=$(realpath "$2")
player=${QA_WEB_PLAYER:-${3:-$src/build-web/web}}
if [ ! -f "$player/quorvart.wasm" ]; then
  echo "no web player in $player: build it with bash tools/web/build-player.sh (skipped)"
  exit 77
fi
player=$(realpath "$player")
command -v chromium > /dev/null || { echo "chromium is not installed (tools/install-deps.sh)" >&2; exit 1; }
NODE_PATH=$(bash "$src/tools/web/puppeteer.sh" | tail -1)
export NODE_PATH

work=$(mktemp -d)
server=""
cleanup() {
  local code=$?
  if [ -n "$server" ]; then kill "$server" 2> /dev/null || true; fi
  # A failed run keeps its pictures and pages for a look.
  if [ "$code" -eq 0 ]; then rm -rf "$work"; else echo "kept for a look: $work"; fi
}
trap cleanup EXIT
site=$work/site

# The page's disks: the demo as published, a guide example to drop on it, and a disk whose scene
# document does not parse (packed by hand: the runner packs no disk with errors).
QA_WEB_PLAYER=$player "$run" "$src/demo" --web "$site" > "$work/publish.txt"
"$run" "$src/tests/scenes/guide/music" --pack "$site/drop.qdisk" > /dev/null
mkdir -p "$work/broken/data"
printf '<s>\n  <item image="data\\a.png">\n</s>\n' > "$work/broken/data/QuorvArt.XQD"
(cd "$work/broken" && python3 -c 'import zipfile, sys
with zipfile.ZipFile(sys.argv[1], "w") as z: z.write("data/QuorvArt.XQD")' "$site/broken.qdisk")
# What the desktop player says of it: the line the page's panel shows.
"$run" "$site/broken.qdisk" --frames 2 > /dev/null 2> "$work/broken.txt" || true

# The demo walk in virtual time, and the runner's screenshots of it.
walk=$src/tests/scenes/demo-walk/input.txt
cp "$walk" "$site/walk.txt"
shots=(1 30 95 160 215 262 310)
mkdir -p "$work/shots"
args=()
for f in "${shots[@]}"; do args+=(--shot "$f:$work/shots/$f.png"); done
"$run" "$src/demo" --frames 320 --frame-ms 16 --input "$walk" "${args[@]}" > /dev/null

# A static server on a port the system picks.
source "$src/tools/web/serve.bash"
serve_folder "$site" "$work/server.txt" || exit 1

# The runner and the demo, for the tests that play the same input through the runner.
QA_RUN=$run QA_DEMO=$src/demo \
  node "$src/tests/web/page.js" "http://127.0.0.1:$port/" "$work" "$(IFS=,; echo "${shots[*]}")"
