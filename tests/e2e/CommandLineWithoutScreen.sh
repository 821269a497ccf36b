#!/usr/bin/env bash
# The programs answer --help and --version with no display at all; a display that cannot be
# reached ends a start with one line naming it and exit code 1, never an abort.
# Usage: CommandLineWithoutScreen.sh REELMIX MPLAYER2 REELMIX_REGISTRY_TOOL
set -uo pipefail
reelmix=$1 mplayer2=$2 regtool=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config REELMIX_REGISTRY=$work/registry.db
unset QT_QPA_PLATFORM WAYLAND_DISPLAY XDG_SESSION_TYPE DISPLAY

checks=0 failures=0
# CODE DISPLAY TEXT COMMAND...: an empty DISPLAY runs without one; a failure is one line.
check() {
    local code=$1 output status
    checks=$((checks + 1))
    output=$(${2:+env DISPLAY=$2} "${@:4}" 2>&1)
    status=$?
    if [ "$status" != "$code" ] || [[ "$output" != *"$3"* ]] ||
        { [ "$code" = 1 ] && [ "$(wc -l <<<"$output")" != 1 ]; }; then
        printf 'FAILED: %s (DISPLAY=%s): exit %s, wanted %s and "%s":\n%s\n' "${*:4}" "$2" \
            "$status" "$code" "$3" "$output"
        failures=$((failures + 1))
    fi
}

check 0 "" "usage: reelmix [SHOW.rlx]" "$reelmix" --help
check 0 "" "Reelmix Version 1.0" "$reelmix" --version
check 0 "" "Usage: mplayer2" "$mplayer2" --help
check 0 "" "usage: reelmix-registry list" "$regtool" --help
check 1 "" "reelmix: no display to show windows on (DISPLAY is not set)" "$reelmix"
check 1 ":4711" "reelmix: cannot connect to display :4711" "$reelmix"
check 1 ":4711" "mplayer2: cannot connect to display :4711" "$mplayer2" show.asx
check 1 "" "too large for a settings file" "$regtool" import /dev/zero
check 1 "" "cannot read $work" "$regtool" import "$work"
mkdir "$work/folder.db"
check 1 "" "reelmix-registry: the settings store $work/folder.db is a folder, not a file" \
    env REELMIX_REGISTRY="$work/folder.db" "$regtool" list

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" = 0 ]
