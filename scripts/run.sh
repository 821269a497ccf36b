#!/usr/bin/env bash
# Installs what Reelmix needs, builds it and starts it. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh run
bash scripts/build.sh build -DREELMIX_BUILD_TESTS=OFF
echo "Built: $(cd build && ls -d libreelmix_*.a */libreelmix_*.a 2>/dev/null | tr '\n' ' ')"
