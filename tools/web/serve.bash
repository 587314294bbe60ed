# Serves a folder on the loopback with Python's static server, on a port the system picks (sourced by
# the web tests and the web benchmark).
#   serve_folder DIR LOG   starts it in the background; sets `server` (its process) and `port`, or
#                          returns 1 with what it said when it did not start within ten seconds
# shellcheck disable=SC2034 # server and port are what the caller reads
serve_folder() {
  python3 -u -m http.server --bind 127.0.0.1 --directory "$1" 0 > "$2" 2>&1 &
  server=$!
  port=""
  for _ in $(seq 100); do
    port=$(sed -n 's/.* port \([0-9]*\) .*/\1/p' "$2" | head -1)
    [ -n "$port" ] && return 0
    sleep 0.1
  done
  echo "the static server did not start: $(cat "$2")" >&2
  return 1
}
