#!/usr/bin/env bash
# Reload time of the demo disk while watching: the real program under a private Xvfb with
# --window --no-launcher --watch --sound off. The scene document is saved ten times the way editors
# save (a new file renamed over the old), then the full-screen background picture is saved again with
# new pixels five times. For each save: the time from the rename to the program's "reloaded in N ms"
# line, which it writes (unbuffered) right after presenting the first frame of the new scene; and N
# itself, from the change seen to that frame. Usage: bash bench/reload.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
build=$(realpath "${1:-build}")
source "$ROOT/bench/lib/display.bash" reload
start_display
cp -r demo "$WORK/demo"
python3 - "$build/quorvart" "$WORK/demo" <<'PY'
import os, re, select, statistics, subprocess, sys, time

program, disk = sys.argv[1], sys.argv[2]
proc = subprocess.Popen([program, disk, "--window", "--no-launcher", "--watch", "--sound", "off"],
                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
err = proc.stderr.fileno()
buffered = b""

def wait_line(pattern, timeout):
    """The first stderr line matching pattern, and when it was read; None after timeout."""
    global buffered
    end = time.monotonic() + timeout
    while True:
        while b"\n" in buffered:
            line, buffered = buffered.split(b"\n", 1)
            if re.search(pattern, line.decode(errors="replace")):
                return line.decode(errors="replace"), time.monotonic()
        left = end - time.monotonic()
        if left <= 0 or not select.select([err], [], [], left)[0]:
            return None, None
        chunk = os.read(err, 65536)
        if not chunk:
            return None, None
        buffered += chunk

def drain():
    """Forgets every line written so far: a save seen in two parts reloads twice, and the second
    reload's line must not be taken for the next save's."""
    global buffered
    while select.select([err], [], [], 0)[0]:
        chunk = os.read(err, 65536)
        if not chunk:
            break
    buffered = b""

def save(path, data):
    """Writes a new file beside path and renames it over path; the moment of the rename."""
    temp = os.path.join(os.path.dirname(path), ".saving")
    with open(temp, "wb") as f:
        f.write(data)
    at = time.monotonic()
    os.replace(temp, path)
    return at

time.sleep(3)  # the window, the first frames
rows = []
document = os.path.join(disk, "data", "QuorvArt.XQD")
text = open(document, "rb").read()
picture = os.path.join(disk, "data", "pics", "background.jpg")
pixels = open(picture, "rb").read() if os.path.exists(picture) else None
saves = [("document", document, lambda i: text + b"\n" * (i % 2))] * 10
if pixels:
    # New bytes each time (bytes after the end of the picture are ignored): a new stamp.
    saves += [("picture", picture, lambda i: pixels + b"\0" * (i + 1))] * 5
for i, (what, path, data) in enumerate(saves):
    drain()
    at = save(path, data(i))
    line, seen = wait_line(r"reloaded in", 5)
    if line is None:
        sys.exit("no reload after save %d" % (i + 1))
    inner = int(re.search(r"reloaded in (\d+) ms", line).group(1))
    rows.append((what, (seen - at) * 1000, inner))
    time.sleep(0.5)
proc.terminate()
proc.wait()
for what in ("document", "picture"):
    got = [r for r in rows if r[0] == what]
    if not got:
        continue
    total = [r[1] for r in got]
    print("%-8s save to first new frame: %s ms (median %.0f, max %.0f); change seen to frame: %s ms" % (
        what, " ".join("%.0f" % t for t in total), statistics.median(total), max(total),
        " ".join(str(r[2]) for r in got)))
PY
