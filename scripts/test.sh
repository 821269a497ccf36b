#!/usr/bin/env bash
# Installs what the tests need, builds Reelmix with its tests and runs them.
# Usage: scripts/test.sh [--sanitize]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
dir=build-tests
opts=(-DREELMIX_BUILD_TESTS=ON)
if [ "${1:-}" = --sanitize ]; then
    dir=build-asan
    opts+=(-DREELMIX_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
    export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
    export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-suppressions.txt
fi
bash scripts/build.sh "$dir" "${opts[@]}"
cd "$dir"
ctest --output-on-failure -j "$(nproc)" --timeout 300
