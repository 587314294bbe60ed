#!/usr/bin/env bash
# Installs a built package into a fresh Debian root and plays the installed demo disk there, as a
# viewer's machine would: `apt-get install ./quorvart_*.deb` (which must bring every dependency),
# then the runner headless and the program itself in a window on a private X display.
# Needs root. Leaves a screenshot of the program's window and the runner's in ROOT/tmp/try-deb/.
#
#   bash tools/try-deb.sh DEB [ROOT]      ROOT defaults to a new debootstrap of Debian 12 (minbase)
set -euo pipefail
deb=$(realpath "$1")
root=${2:-}
if [ -z "$root" ]; then
  root=$(mktemp -d /var/tmp/quorvart-root.XXXXXX)
  debootstrap --variant=minbase bookworm "$root" >/dev/null
fi
root=$(realpath "$root")
mounted=()
cleanup() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}" 2>/dev/null || true; done
}
trap cleanup EXIT
for m in proc sys dev dev/pts; do
  if ! mountpoint -q "$root/$m"; then mount --bind "/$m" "$root/$m" && mounted+=("$root/$m"); fi
done
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }

echo "== installing $(basename "$deb") with its dependencies"
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "/tmp/$(basename "$deb")" >/dev/null
in_root dpkg -s quorvart | grep -E '^(Package|Version|Status):'
in_root sh -c 'ls -l /usr/bin/quorvart* /usr/share/quorvart/demo.qdisk /usr/share/man/man1/quorvart*'

echo "== the runner plays the installed demo headless"
in_root rm -rf /tmp/try-deb
in_root mkdir -p /tmp/try-deb
in_root quorvart-run /usr/share/quorvart/demo.qdisk --frames 120 --shot 100:/tmp/try-deb/runner.png \
  --trace /tmp/try-deb/trace.jsonl
echo "trace: $(wc -l <"$root/tmp/try-deb/trace.jsonl") lines"

echo "== the installed demo published as a web page, from the package alone"
in_root quorvart-run /usr/share/quorvart/demo.qdisk --web /tmp/try-deb/site | tail -1
in_root ls -l /tmp/try-deb/site

echo "== the program plays it in a window (Xvfb and xwd installed only for this check)"
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq xvfb x11-apps >/dev/null
in_root sh -c '
  Xvfb :7 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & x=$!
  sleep 2
  DISPLAY=:7 quorvart /usr/share/quorvart/demo.qdisk --window --no-launcher --sound off \
    >/tmp/try-deb/out.txt 2>&1 & p=$!
  sleep 4
  DISPLAY=:7 xwd -root -silent >/tmp/try-deb/window.xwd
  kill -0 $p && echo "quorvart is running" || { echo "quorvart ended early:"; cat /tmp/try-deb/out.txt; }
  kill $p; wait $p; kill $x
  true'
convert "$root/tmp/try-deb/window.xwd" "$root/tmp/try-deb/window.png" 2>/dev/null || true
echo "screenshots: $root/tmp/try-deb/runner.png $root/tmp/try-deb/window.png"
