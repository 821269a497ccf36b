#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
bash scripts/build.sh build-bench -DCMAKE_BUILD_TYPE=Release -DREELMIX_BUILD_TESTS=OFF -DREELMIX_BUILD_BENCH=ON
for b in $(find build-bench/bench -maxdepth 1 -name "bench_*" -type f -executable); do "$b"; done
