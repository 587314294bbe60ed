#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the test suite, the same suite built with
# AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer, and every fuzz target briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
bash tools/check-format.sh
(cd build && ctest --output-on-failure -j2)

cmake -S . -B build-asan -G Ninja -DQA_SANITIZE=ON -DQA_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build-asan
(cd build-asan && ctest --output-on-failure -j2)

bash tools/fuzz.sh 10
