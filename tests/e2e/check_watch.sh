#!/usr/bin/env bash
# The checker's loop without a window: quorvart-run DISK --check --watch prints a round of findings at
# the start and after every save, each after its header line, and ends on Ctrl-C (SIGINT) with exit 0.
set -uo pipefail
source "$(dirname "$0")/lib/x.bash" "$@"

save() {
  printf '%s\n' "$1" >"$WORK/disk/data/.new.XQD" && mv "$WORK/disk/data/.new.XQD" "$WORK/disk/data/QuorvArt.XQD"
}
wait_for() {  # waits up to 10 s for the output to hold $2 (default 1) lines matching $1
  for _ in $(seq 100); do
    [ "$(grep -c -- "$1" "$WORK/out.txt")" -ge "${2:-1}" ] && return 0
    sleep 0.1
  done
  fail "no line \"$1\""
}

save '<scene><item name="a" w="10" h="10" onSubmit="Hide a"/></scene>'
"$RUNNER" "$WORK/disk" --check --watch >"$WORK/out.txt" 2>"$WORK/err.txt" &
PROGRAM_PID=$!
wait_for '^no problems found$'
save '<scene><item name="a" w="10" h="10" onSubmit="Hdie a"/></scene>'
wait_for '^1 error found$'
save '<scene><item name="a" w="10" h="10" onSubmit="Hide a"/></scene>'
wait_for '^no problems found$' 2
sleep 0.3
kill -INT "$PROGRAM_PID"
wait_exit 10
[ "$CODE" = 0 ] || fail "exit code $CODE after Ctrl-C, expected 0"

expected='== check 1: start ==
no problems found
== check 2: data/QuorvArt.XQD ==
data/QuorvArt.XQD:1:47: error: item "a" onSubmit: unknown command "Hdie" (did you mean "Hide"?)
1 error found
== check 3: data/QuorvArt.XQD ==
no problems found'
# A save is a new file renamed over the document: its temporary name may be in the header too.
got=$(sed 's/, data\/\.new\.XQD//; s/data\/\.new\.XQD, //' "$WORK/out.txt")
[ "$got" = "$expected" ] || fail "the rounds were: $got"

# Without --check, or with --pack, there is nothing to watch.
"$RUNNER" "$WORK/disk" --watch >/dev/null 2>&1
[ $? = 2 ] || fail "--watch without --check should be a usage error"
echo "PASS"
