#!/usr/bin/env bash
# Installs what is missing, then checks and tests everything, the cheap checks first, each test once:
#   1. the format of the C and C++ files, and shellcheck on the shell scripts
#   2. the release build (gcc, build/): the programs, played end to end (tests/e2e, on Xvfb), the
#      drawing check over the demo walk and the test scenes, and the soak run
#   3. the checking build (clang, build-asan/: AddressSanitizer, UndefinedBehaviorSanitizer and
#      LeakSanitizer, -O1): the test programs, the window device tests on Xvfb, and every fuzz
#      target for a few seconds
#   4. the web player: its libraries built from Debian's source packages (tools/web/build-deps.sh,
#      cached by their versions: about 10 minutes the first time on two cores, seconds after), the
#      player with Debian's emscripten, and its page in headless Chromium (tests/web)
# The release and the checking build treat warnings in the project's own code as errors (QA_WERROR).
# Before the checking build compiles, clang-tidy (the checks of .clang-tidy) reads the system's own
# code with its compile commands (tools/tidy.sh --system, about 2 minutes); a pass over every source
# is run by hand.
# Neither build carries debug information (the checking build keeps line tables for its reports):
# build/ is left configured that way (tools/build.sh keeps what a folder has).
set -euo pipefail
cd "$(dirname "$0")/.."
stage() { echo "== $* ($(date -u +%H:%M:%S))"; }

bash tools/install-deps.sh

stage "format and scripts"
bash tools/check-format.sh
bash tools/check-scripts.sh

stage "release build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQA_PROGRAM_TESTS=ON -DQA_SANITIZE=OFF \
  -DQA_FUZZ=OFF -DQA_DEBUG_INFO=OFF -DQA_UNITY=OFF -DQA_WERROR=ON > /dev/null
# The programs alone: the test programs and the benchmarks are built in build-asan/ and by bench/run.sh.
cmake --build build --target quorvart quorvart-run quorvart-font demo-disk
stage "programs end to end"
(cd build && ctest --output-on-failure -j2 -L program)

stage "checking build"
bash tools/checking-build.sh
stage "clang-tidy"
bash tools/tidy.sh --system
cmake --build build-asan
stage "test programs"
(cd build-asan && ctest --output-on-failure -j2 -L unit)
stage "fuzz targets"
bash tools/fuzz.sh 10

stage "web player"
player=$(bash tools/web/build-player.sh | tail -1)
stage "web tests"
(cd build && QA_WEB_PLAYER="$player" ctest --output-on-failure -L web)
stage "done"
