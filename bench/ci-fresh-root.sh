#!/usr/bin/env bash
# Times the whole CI (`.ci/run`) as a fresh machine runs it: a new Debian 12 root (debootstrap,
# minbase), a clean clone of the repository in it, no package beyond the base system, no compiler
# cache. Needs root and the Debian archive. Prints each stage's start and the total at the end; the
# root is left for inspection (its path is printed) unless KEEP=0.
#
#   bash bench/ci-fresh-root.sh [REPO [REV]]        REPO defaults to this repository, REV to HEAD
#
# CI_COMMAND, when set, is run in the clone instead of `bash .ci/run` (to time an older revision's
# steps one after another without stopping at a failed test, say).
set -euo pipefail
repo=$(realpath "${1:-$(dirname "$0")/..}")
rev=${2:-HEAD}
root=$(mktemp -d /var/tmp/quorvart-ci.XXXXXX)
mounted=()
cleanup() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}" 2>/dev/null || true; done
  if [ "${KEEP:-1}" = 0 ]; then rm -rf "$root"; fi
}
trap cleanup EXIT
start=$(date +%s)
echo "== debootstrap into $root ($(date -u +%H:%M:%S))"
debootstrap --variant=minbase bookworm "$root" > /dev/null
for m in proc sys dev dev/pts dev/shm; do
  mkdir -p "$root/$m"
  mount --bind "/$m" "$root/$m" && mounted+=("$root/$m")
done
cp /etc/resolv.conf "$root/etc/resolv.conf"
# The machine's own network settings come along: its name servers, and the certificate authorities
# it adds to Debian's (a proxy's, say), which the root's ca-certificates takes in when it is installed
# and Node.js reads through NODE_EXTRA_CA_CERTS, as on this machine.
if compgen -G '/usr/local/share/ca-certificates/*.crt' > /dev/null; then
  mkdir -p "$root/usr/local/share/ca-certificates"
  cp /usr/local/share/ca-certificates/*.crt "$root/usr/local/share/ca-certificates/"
fi
git clone -q "$repo" "$root/src/quorvart"
git -C "$root/src/quorvart" checkout -q "$rev"
echo "== .ci/run at $(git -C "$root/src/quorvart" rev-parse --short HEAD) ($(date -u +%H:%M:%S))"
ci_start=$(date +%s)
status=0
chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root TERM=dumb \
  ${NODE_EXTRA_CA_CERTS:+NODE_EXTRA_CA_CERTS="$NODE_EXTRA_CA_CERTS"} bash -c "cd /src/quorvart && ${CI_COMMAND:-bash .ci/run}" || status=$?
end=$(date +%s)
echo "== .ci/run exit $status: $(((end - ci_start) / 60)) min $(((end - ci_start) % 60)) s" \
  "(with debootstrap $(((end - start) / 60)) min $(((end - start) % 60)) s); load now: $(cut -d' ' -f1-3 /proc/loadavg)"
exit "$status"
