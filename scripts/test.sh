#!/usr/bin/env bash
# Installs what the tests need, builds Reelmix with its tests and runs them.
# Usage: scripts/test.sh [--sanitize | --tsan]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
dir=build-tests
opts=(-DREELMIX_BUILD_TESTS=ON)
build=()
run=()
select=()
case "${1:-}" in
--sanitize)
    dir=build-asan
    opts+=(-DREELMIX_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
    export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
    export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-suppressions.txt
    ;;
--tsan)
    # Only the tests that run our code on more than one thread, and only their programs built.
    dir=build-tsan
    opts+=(-DREELMIX_TSAN=ON)
    build=(-- --target threaded_tests)
    select=(-L threads)
    # The longest history, so that a report can name both sides and its suppressions match.
    export TSAN_OPTIONS="suppressions=$PWD/scripts/tsan-suppressions.txt history_size=7"
    # This compiler's sanitizer expects its shadow memory at fixed addresses, which the wider
    # address randomisation of newer kernels can take.
    run=(setarch "$(uname -m)" -R)
    ;;
esac
bash scripts/build.sh "$dir" "${opts[@]}" "${build[@]}"
cd "$dir"
"${run[@]}" ctest --output-on-failure -j "$(nproc)" --timeout 300 "${select[@]}"
