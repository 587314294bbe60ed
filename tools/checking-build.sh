#!/usr/bin/env bash
# Configures the checking build in build-asan/: clang with AddressSanitizer, UndefinedBehaviorSanitizer
# and LeakSanitizer at -O1, the libFuzzer targets, the test programs (the tests that play the
# programs run in the release build), line tables instead of debug information. Warnings in the project's
# own code are errors here as in the release build (QA_WERROR); the libraries' headers are system
# headers and are not held to it.
# A build-asan/ made by another compiler is made again.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -f build-asan/CMakeCache.txt ] && ! grep -q '^CMAKE_CXX_COMPILER:.*clang' build-asan/CMakeCache.txt; then
  rm -rf build-asan
fi
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQA_SANITIZE=ON -DQA_FUZZ=ON -DQA_BENCH=OFF -DQA_UNIT_TESTS=ON -DQA_PROGRAM_TESTS=OFF \
  -DQA_DEBUG_INFO=OFF -DQA_UNITY=OFF -DQA_WERROR=ON > /dev/null
