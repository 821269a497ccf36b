#!/usr/bin/env bash
# Installs what Reelmix needs, builds it and starts it. Arguments go to the program, so a show
# file named relative to the caller's folder opens.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
(cd "$root" && bash scripts/deps.sh run && bash scripts/build.sh build -DREELMIX_BUILD_TESTS=OFF)
# As an installer would: tell Reelmix where its show player is.
"$root/build/player/mplayer2" --register
exec "$root/build/app/reelmix" "$@"
