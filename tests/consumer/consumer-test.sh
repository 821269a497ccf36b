#!/usr/bin/env bash
# Configures and builds the consumer project against this tree and runs what it built.
# Usage: consumer-test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$1 build=$2
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Paths relative to the tree, so that builds of other clones fill the cache for this one.
export CCACHE_BASEDIR=$src CCACHE_NOHASHDIR=1
cmake -S "$src/tests/consumer" -B "$build" -G Ninja "${launcher[@]}" -DREELMIX_SOURCE_DIR="$src" >/dev/null
cmake --build "$build" --target consumer -j "$(nproc)" >/dev/null
test "$("$build/consumer")" = "1,234,567"
