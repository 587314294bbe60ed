#!/usr/bin/env bash
# Builds the Debian package: installs what is missing, builds the web player (tools/web/build-player.sh,
# its libraries cached) and the programs and the demo disk in Release into build-package/ (no tests,
# no benchmarks), and makes the .deb with CPack, the web player in it. Prints the path of the .deb on
# its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
player=$(bash tools/web/build-player.sh | tail -1)
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DQA_TESTS=OFF -DQA_BENCH=OFF \
  -DQA_SANITIZE=OFF -DQA_FUZZ=OFF -DQA_WERROR=OFF -DQA_INSTALL_WEB_PLAYER=ON -DQA_WEB_PLAYER_DIR="$player" >/dev/null
nice cmake --build build-package
rm -f build-package/quorvart_*.deb
(cd build-package && cpack -G DEB >/dev/null)
deb=$(ls build-package/quorvart_*.deb)
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends
realpath "$deb"
