#!/usr/bin/env bash
# Configures and builds into a build folder.
# Usage: scripts/build.sh BUILD_DIR [cmake options...] [-- build options such as --target T]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1; shift
configure=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do configure+=("$1"); shift; done
[ $# -gt 0 ] && shift
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    # Paths relative to the tree, so that clones and work trees share one cache.
    export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
fi
cmake -S . -B "$dir" -G Ninja "${launcher[@]}" "${configure[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)" "$@"
