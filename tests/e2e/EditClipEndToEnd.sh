#!/usr/bin/env bash
# Drives the real reelmix under a private X server: open a show of one movie, double-click its
# row, step with the arrow keys to known frames, mark the start and the end, OK, save, and
# check the marks the show file holds.
# Usage: EditClipEndToEnd.sh REELMIX
set -euo pipefail
reelmix=$(realpath "$1")
source "$(dirname "$0")/PrivateDesktop.sh"

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
await_colour "$editor" || fail "the editor showed no picture of the movie"

# The arrow keys step wherever the focus is.
xdotool windowfocus --sync "$editor"
for _ in $(seq 12); do xdotool key --clearmodifiers Right; done
xdotool key --clearmodifiers Left Left alt+s # frame 10
for _ in $(seq 15); do xdotool key --clearmodifiers Right; done
xdotool key --clearmodifiers alt+e Return # frame 25, OK
await_no_window '^Editing Clip' || fail "OK did not close the editor"

# The marks are the last 16 bytes: frame 10 is 0.4 s, frame 25 is 1.0 s.
marks() { tail -c 16 "$work/show.rlx" | od -An -tf8 | awk '{print $1, $2}'; }
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+s
for _ in $(seq 100); do [ "$(marks)" = "0.4 1" ] && break; sleep 0.1; done
[ "$(marks)" = "0.4 1" ] || fail "the show holds the marks '$(marks)', not '0.4 1'"
xdotool key --clearmodifiers alt+f x
timeout 30 tail --pid="$app_pid" -f /dev/null || fail "reelmix did not end after File > Exit"
app_pid=""
echo "clip editor end-to-end: passed"
