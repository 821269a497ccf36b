#!/usr/bin/env bash
# Drives the real reelmix under a private X server: open a show of one movie, double-click its
# row, step with the arrow keys to known frames, mark the start and the end, OK, save, and
# check the marks the show file holds.
# Usage: EditClipEndToEnd.sh REELMIX
set -euo pipefail
reelmix=$(realpath "$1")
work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/share
export XDG_RUNTIME_DIR=$work/run REELMIX_REGISTRY=$work/registry.db QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=:$(cat "$work/display")

# 100 pictures at 25 fps, and a show of it with both marks unset.
ffmpeg -loglevel error -f lavfi -i testsrc=duration=4:size=320x240:rate=25 -c:v mpeg4 \
    "$work/movie.avi" || fail "ffmpeg could not make the movie"
folder=$(printf '%s' "$work" | tr '/' '\\')
unset_mark='\x00\x00\x00\x00\x00\x00\xf0\xbf'
{
    printf '\x01\x00\x00\x00'
    printf "\\x$(printf '%02x' ${#folder})%s" "$folder"
    printf '\x09movie.avi'"$unset_mark$unset_mark"
} >"$work/show.rlx"

(cd "$work" && exec "$reelmix" show.rlx) &
app_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^show\.rlx - Reelmix$' | head -n 1) ||
    fail "no window titled 'show.rlx - Reelmix'"
eval "$(xdotool getwindowgeometry --shell "$window")"

# The first row of the list, under the menu bar, the toolbar, the buttons and the list's header
# (the desktop font of the test set-up).
xdotool windowfocus --sync "$window"
xdotool mousemove --window "$window" 40 112 click --repeat 2 --delay 80 1
editor=$(timeout 30 xdotool search --sync --onlyvisible --name '^Editing Clip: movie\.avi$' | head -n 1) ||
    fail "double-clicking the row did not open the editor"
sleep 1 # the movie loads

# Focus starts on Mark Start; Tab twice reaches the up-down control.
xdotool windowfocus --sync "$editor"
xdotool key --clearmodifiers Tab Tab
for _ in $(seq 12); do xdotool key --clearmodifiers Right; done
xdotool key --clearmodifiers Left Left alt+s # frame 10
for _ in $(seq 15); do xdotool key --clearmodifiers Right; done
xdotool key --clearmodifiers alt+e Return # frame 25, OK
timeout 10 sh -c "while xdotool search --onlyvisible --name '^Editing Clip' >/dev/null; do sleep 0.1; done" ||
    fail "OK did not close the editor"

xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+s
sleep 1
xdotool key --clearmodifiers alt+f
sleep 0.5
xdotool key --clearmodifiers x
timeout 30 tail --pid="$app_pid" -f /dev/null || fail "reelmix did not end after File > Exit"
app_pid=""

# The marks are the last 16 bytes: frame 10 is 0.4 s, frame 25 is 1.0 s.
marks=$(tail -c 16 "$work/show.rlx" | od -An -tf8 | awk '{print $1, $2}')
[ "$marks" = "0.4 1" ] || fail "the show holds the marks '$marks', not '0.4 1'"
echo "clip editor end-to-end: passed"
