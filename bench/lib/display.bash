# Sourced by the timing scripts: a scratch folder WORK removed on exit, a private X display that
# survives its clients (a resetting server refuses the next one for a moment), a scratch settings
# folder, SDL on X11, and `settings WINDOWED USESOUND` (00 or 01 each) to store the launcher's choices.
WORK=$(mktemp -d "/tmp/quorvart-${1:-bench}.XXXXXX")
XVFB_PID=
cleanup() {
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null; fi
  rm -rf "$WORK"
}
trap cleanup EXIT

start_display() {
  Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset 5>"$WORK/display" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do grep -q '[0-9]' "$WORK/display" 2>/dev/null && break; sleep 0.1; done
  DISPLAY=:$(tr -dc '0-9' <"$WORK/display")
  export DISPLAY
  export SDL_VIDEODRIVER=x11
  export XDG_CONFIG_HOME=$WORK/config
  SETTINGS=$XDG_CONFIG_HOME/Brennick/QuorvArt/settings.reg
  mkdir -p "$(dirname "$SETTINGS")"
}

settings() {
  printf 'Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Brennick\\QuorvArt]\n"windowed"=hex:%s\n"usesound"=hex:%s\n' \
    "$1" "$2" >"$SETTINGS"
}
