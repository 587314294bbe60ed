# Shared by the end-to-end scripts: a private X display (Xvfb), a scratch home with its own config
# folder, a test disk, and ways to start the program, look at its window and talk to it.
# Sourced as: source lib/x.bash "$@"   (arguments: quorvart, quorvart-run, source folder)
# shellcheck disable=SC2034  # the variables set here are read by the scripts that source it

QUORVART=$(realpath "$1")
RUNNER=$(realpath "$2")
SOURCE=$(realpath "$3")
LIB=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WORK=$(mktemp -d /tmp/quorvart-e2e.XXXXXX)
export HOME=$WORK/home
export XDG_CONFIG_HOME=$WORK/config
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$WORK/disk/data"
SETTINGS=$XDG_CONFIG_HOME/Brennick/QuorvArt/settings.reg
XVFB_PID=
PROGRAM_PID=

fail() {
  echo "FAIL: $*" >&2
  echo "(DISPLAY=${DISPLAY:-} sockets: $(ls /tmp/.X11-unix 2>/dev/null | tr '\n' ' ') $(xdotool getdisplaygeometry 2>&1))" >&2
  for f in "$WORK"/out.txt "$WORK"/err.txt; do
    [ -s "$f" ] && { echo "--- $(basename "$f")" >&2; cat "$f" >&2; }
  done
  exit 1
}

cleanup() {
  local pid
  for pid in $PROGRAM_PID $XVFB_PID; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  if [ -n "${KEEP_E2E:-}" ]; then echo "kept $WORK" >&2; else rm -rf "$WORK"; fi
}
trap cleanup EXIT

# Starts Xvfb on a free display with a 1280 x 1024 screen and waits until it answers.
start_display() {
  # -noreset: without it the server resets whenever its last client leaves, and refuses the next
  # one that comes in the meantime.
  Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset 5>"$WORK/display" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    if [ -s "$WORK/display" ] && grep -q '[0-9]' "$WORK/display"; then
      DISPLAY=:$(tr -dc '0-9' <"$WORK/display")
      export DISPLAY
      xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    fi
    sleep 0.1
  done
  fail "Xvfb did not start"
}

# Starts quorvart in the test disk; its output goes to out.txt and err.txt.
start_program() {
  (cd "$WORK/disk" && SDL_VIDEODRIVER=x11 exec "$QUORVART") >"$WORK/out.txt" 2>"$WORK/err.txt" &
  PROGRAM_PID=$!
}

# Sets W to the id of the visible window with this exact title, once it is there.
find_window() {
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { W=$id; return 0; }
    if ! kill -0 "$PROGRAM_PID" 2>/dev/null; then
      local code=0
      wait "$PROGRAM_PID" || code=$?
      PROGRAM_PID=
      fail "the program ended (exit code $code) before its window \"$1\" showed"
    fi
    sleep 0.1
  done
  fail "no window \"$1\""
}

# "WIDTHxHEIGHT+X+Y" of a window.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
    /^ *Width:/{w=$NF} /^ *Height:/{h=$NF} END{print w "x" h "+" x "+" y}'
}

# Waits until the window has the geometry, or fails.
wait_geometry() {
  local got
  for _ in $(seq 50); do
    got=$(geometry "$1")
    [ "$got" = "$2" ] && return 0
    sleep 0.1
  done
  fail "window geometry $got, expected $2"
}

# Saves the whole screen as a PNG.
screenshot() { import -window root "$1"; }

# The colour of a pixel of a screenshot as RRGGBB.
pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info: | cut -c1-6; }

# The colour at a point of window $W's client area (virtual-screen units when the window is
# 1024 x 768).
window_at() {
  local shot=$WORK/shot.png
  screenshot "$shot"
  read -r _ _ wx wy <<<"$(geometry "$W" | tr 'x+' '   ')"
  pixel "$shot" $((wx + $1)) $((wy + $2))
}
expect_window_at() {  # X Y COLOUR WHAT: waits up to 5 s for the colour
  local got=
  for _ in $(seq 50); do
    got=$(window_at "$1" "$2")
    [ "$got" = "$3" ] && return 0
    sleep 0.1
  done
  fail "$4: $got at ($1, $2), expected $3"
}

# Sets R, G and B to the colour of a pixel of a screenshot.
rgb() {
  local h
  h=$(pixel "$@")
  [ ${#h} = 6 ] || fail "cannot read pixel $2,$3 of $1"
  R=$((16#${h:0:2})) G=$((16#${h:2:2})) B=$((16#${h:4:2}))
}

# Waits for the program to end and sets CODE to its exit code; fails when it is still running
# after $1 seconds.
wait_exit() {
  local limit=$(( ${1:-10} * 10 ))
  for _ in $(seq "$limit"); do
    if ! kill -0 "$PROGRAM_PID" 2>/dev/null; then
      CODE=0
      wait "$PROGRAM_PID" || CODE=$?
      PROGRAM_PID=
      return 0
    fi
    sleep 0.1
  done
  fail "the program did not end"
}

close_window() { python3 "$LIB/xclose.py" "$1"; }

# Launcher layout in window pixels: where the boxes' ticks and the button lie.
FULLSCREEN_BOX=(20 143)   # inside the control, on the label side of the box
FULLSCREEN_TICK=(9 143)   # a pixel of the tick mark when ticked
SOUND_BOX=(20 167)
SOUND_TICK=(9 165)
START_BUTTON=(200 155)
BUTTON_FACE=(150 170)
