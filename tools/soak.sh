#!/usr/bin/env bash
# The soak run: the demo disk played by the headless runner for an hour of virtual time (by default)
# with random input from a fixed seed, every frame drawn. Reports the resident memory along the way
# and fails when it grows, when the playlist stops rotating, or when the runner does not end normally.
#
# Usage: tools/soak.sh [--minutes N] [--seed S] [--runner PATH] [--max-growth-kb K] [--out DIR]
#   --minutes N         virtual minutes to play (default 60)
#   --seed S            the input's seed (default 20261207)
#   --runner PATH       the quorvart-run to use (default: build/quorvart-run, built when missing)
#   --max-growth-kb K   the most the resident memory may grow after the warm-up (default 4096;
#                       0 checks nothing, as for sanitizer builds, whose allocator keeps freed memory)
#   --out DIR           keep the disk, input, trace and output there (default: a temporary folder)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
minutes=60
seed=20261207
runner=""
max_growth=4096
out=""
while [ $# -gt 0 ]; do
  case "$1" in
    --minutes) minutes=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --runner) runner=$2; shift 2 ;;
    --max-growth-kb) max_growth=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) echo "soak: unknown option $1" >&2; exit 2 ;;
  esac
done
if [ -z "$runner" ]; then
  runner=$top/build/quorvart-run
  [ -x "$runner" ] || bash "$top/tools/build.sh"
fi
if [ -z "$out" ]; then
  out=$(mktemp -d)
  trap 'rm -rf "$out"' EXIT
fi
mkdir -p "$out"

# The demo, with its exit statement turned into the curtain fading back and its pause statement
# into nothing: random input would otherwise leave the disk within a minute, or hold the playlist
# for most of the hour.
rm -rf "$out/disk"
cp -r "$top/demo" "$out/disk"
scene=$out/disk/data/QuorvArt.XQD
for word in ExitApp PauseTrack; do
  grep -q "$word" "$scene" || { echo "soak: the demo has no $word to disable" >&2; exit 2; }
done
sed -i -e 's/ExitApp/Change curtain ca =0/g' -e 's/PauseTrack;/KillTimer none;/g' "$scene"

frame_ms=16
frames=$((minutes * 60000 / frame_ms))
python3 "$top/tools/gen/soak_input.py" --frames "$frames" --seed "$seed" > "$out/input.txt"
echo "soak: $minutes virtual minutes ($frames frames), $(wc -l < "$out/input.txt") input actions, seed $seed"

start=$(date +%s)
set +e
"$runner" "$out/disk" --frames "$frames" --frame-ms "$frame_ms" --input "$out/input.txt" \
  --trace "$out/trace.jsonl" --pixels --memory 60 > "$out/output.txt" 2>&1
code=$?
set -e
echo "soak: the runner ended with code $code after $(( $(date +%s) - start )) s of real time"

python3 - "$out/trace.jsonl" "$frames" "$frame_ms" "$max_growth" "$code" <<'EOF'
import json
import sys

trace, frames, frame_ms, max_growth, code = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5])
records = []
with open(trace, "rb") as f:
    for raw in f:
        records.append(json.loads(raw.decode("utf-8", "replace")))
problems = []
if code != 0:
    problems.append(f"the runner ended with code {code}")

memory = [r for r in records if r["type"] == "memory"]
if not memory or memory[-1]["frame"] != frames:
    problems.append("the run did not reach its last frame")
else:
    def minute(r):
        return r["frame"] * frame_ms / 60000
    # The warm-up: the first tenth of the run (pictures, fonts and tracks loaded, caches filled),
    # at least a minute, at most ten.
    warm = min(10.0, max(1.0, minute(memory[-1]) / 10))
    base = next((r for r in memory if minute(r) >= warm), memory[-1])
    last = memory[-1]
    growth = last["rss_kb"] - base["rss_kb"]
    print(f"soak: resident memory {memory[0]['rss_kb']} KiB at the start, {base['rss_kb']} KiB after "
          f"{minute(base):.0f} min, {last['rss_kb']} KiB at the end ({minute(last):.0f} min); "
          f"growth after the warm-up {growth:+d} KiB; peak {last['peak_kb']} KiB")
    for r in memory:
        print(f"  {minute(r):6.1f} min  rss {r['rss_kb']:8d} KiB  peak {r['peak_kb']:8d} KiB")
    if max_growth > 0 and growth > max_growth:
        problems.append(f"resident memory grew by {growth} KiB after the warm-up (limit {max_growth})")

# Track starts that no command made (PlayTrack, PauseTrack) are the playlist moving on by itself.
by_command = {r["frame"] for r in records if r["type"] == "command" and r["command"] in ("PlayTrack", "PauseTrack")}
starts = [r for r in records if r["type"] == "track" and r["action"] == "play"]
advances = [r for r in starts if r["frame"] > 0 and r["frame"] not in by_command]
played = sorted({r["track"] for r in starts})
print(f"soak: {len(starts)} track starts, {len(advances)} of them the playlist moving on by itself; "
      f"{len(played)} different tracks played")
minutes = frames * frame_ms / 60000
if len(advances) < minutes / 2:
    problems.append(f"the playlist moved on only {len(advances)} times in {minutes:.0f} minutes")
skips = sum(1 for r in records if r["type"] == "skip")
print(f"soak: {len(records)} trace records, {skips} skipped statements")
for p in problems:
    print("soak: FAILED:", p)
sys.exit(1 if problems else 0)
EOF
