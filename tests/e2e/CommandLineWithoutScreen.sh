#!/usr/bin/env bash
# The programs answer --help and --version with no display at all, and a display that cannot be
# reached ends a start with one line that names it and exit code 1 (never an abort).
# Usage: CommandLineWithoutScreen.sh REELMIX MPLAYER2 REELMIX_REGISTRY_TOOL
set -uo pipefail
reelmix=$1 mplayer2=$2 regtool=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/share
export REELMIX_REGISTRY=$work/registry.db
unset QT_QPA_PLATFORM WAYLAND_DISPLAY XDG_SESSION_TYPE
printf '<asx version="3.0"></asx>\n' >"$work/show.asx"

checks=0 failures=0
# CODE DISPLAY TEXT COMMAND...: an empty DISPLAY runs without one.
check() {
    local code=$1 display=$2 text=$3 output status lines
    shift 3
    checks=$((checks + 1))
    if [ -n "$display" ]; then
        output=$(DISPLAY=$display "$@" 2>&1)
    else
        output=$(env -u DISPLAY "$@" 2>&1)
    fi
    status=$?
    lines=$(printf '%s\n' "$output" | wc -l)
    if [ "$status" != "$code" ] || [[ "$output" != *"$text"* ]] ||
        { [ "$code" = 1 ] && [ "$lines" != 1 ]; }; then
        echo "FAILED: $* (DISPLAY=$display): exit $status, wanted $code and '$text':"
        printf '%s\n' "$output"
        failures=$((failures + 1))
    fi
}

check 0 "" "usage: reelmix [SHOW.rlx]" "$reelmix" --help
check 0 "" "Reelmix Version 1.0" "$reelmix" --version
check 0 "" "Usage: mplayer2" "$mplayer2" --help
check 0 "" "usage: reelmix-registry list" "$regtool" --help
check 0 "" "REGEDIT4" "$regtool" list
check 1 "" "reelmix: no display to show windows on (DISPLAY is not set)" "$reelmix"
check 1 ":4711" "reelmix: cannot connect to display :4711" "$reelmix"
check 1 ":4711" "mplayer2: cannot connect to display :4711" "$mplayer2" "$work/show.asx"
check 1 "" "too large for a settings file" "$regtool" import /dev/zero
check 1 "" "cannot read $work" "$regtool" import "$work"

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" = 0 ]
