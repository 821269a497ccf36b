#!/usr/bin/env bash
# Fails when a room of platform/ includes a room above it or a folder that stands on platform/,
# or when a file sits directly in platform/.
# Rooms stand in this order; each may include only itself and the rooms before it. media is
# apart: it may include only core.
set -euo pipefail
cd "$(dirname "$0")/.."
order=(core files process registry gdi windows framework)
declare -A allowed=([media]="core media")
for i in "${!order[@]}"; do allowed[${order[$i]}]="${order[*]:0:$((i + 1))}"; done

status=0
for f in platform/*; do
    if [ -f "$f" ] && [ "$(basename "$f")" != CMakeLists.txt ]; then
        echo "$f: platform/ holds rooms only"; status=1
    fi
done
for room in "${!allowed[@]}"; do
    while IFS=: read -r file line text; do
        used=$(sed -E 's#.*"platform/([a-z]+)/.*#\1#' <<<"$text")
        if [[ " ${allowed[$room]} " != *" $used "* ]]; then
            echo "$file:$line: room $room includes room $used above it"; status=1
        fi
    done < <(grep -rn '#include "platform/' "platform/$room" || true)
done
if grep -rnE '#include "(util|controls|show|preview|app|player)/' platform; then
    echo "platform/ includes a folder that stands on it"; status=1
fi
exit $status
