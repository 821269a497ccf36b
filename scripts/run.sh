#!/usr/bin/env bash
# Installs what Reelmix needs, builds it and starts it. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh run
bash scripts/build.sh build -DREELMIX_BUILD_TESTS=OFF
# As an installer would: tell Reelmix where its show player is.
build/player/mplayer2 --register
exec build/app/reelmix "$@"
