#!/usr/bin/env bash
# Installs the browser driver the web tests and bench/web.sh use, puppeteer-core (it drives Debian's
# chromium; it downloads no browser), from the npm registry into a folder keyed by its version: a
# second run only prints the folder. Prints on its last line the folder to put in NODE_PATH.
# Environment: QA_WEB_CACHE (default ~/.cache/quorvart-web)
set -euo pipefail
# The newest release that still runs on Debian 12's node (18).
VERSION=24.43.1
cache=${QA_WEB_CACHE:-$HOME/.cache/quorvart-web}
dir="$cache/puppeteer-core-$VERSION"
if [ ! -f "$dir/complete" ]; then
  rm -rf "$dir"
  mkdir -p "$dir"
  # Installed into a fresh folder and marked complete only when the install succeeded.
  npm install --prefix "$dir" --no-audit --no-fund --no-save --loglevel=error "puppeteer-core@$VERSION" >&2
  touch "$dir/complete"
fi
echo "$dir/node_modules"
