#!/usr/bin/env bash
# Drives the real reelmix under a private X server as a person would: start it with a show,
# find its window, play the show, fill it from a folder with Multi Load (twice, the second time
# adding only new files), delete a clip, shuffle, save, quit from the File menu. Then checks the
# saved show, the stored window placement, and that the next start puts the window where a
# stored placement says. With REELMIX_E2E_SCREENSHOT set, the screen after the first Multi Load
# is saved there as a PNG.
# Usage: ReelmixEndToEnd.sh REELMIX REELMIX_REGISTRY_TOOL
set -euo pipefail
reelmix=$(realpath "$1")
regtool=$(realpath "$2")
source "$(dirname "$0")/PrivateDesktop.sh"

program_path() { printf '%s' "$1" | tr '/' '\\'; }
# REGEDIT4 strings escape backslashes.
reg_string() { program_path "$1" | sed 's/\\/\\\\/g'; }

# A show of three clips: the middle one without marks.
le_double_1_5='\x00\x00\x00\x00\x00\x00\xf8\x3f'
le_double_4_0='\x00\x00\x00\x00\x00\x00\x10\x40'
le_double_unset='\x00\x00\x00\x00\x00\x00\xf0\xbf'
{
    printf '\x03\x00\x00\x00'
    printf '\x09C:\\Movies\x05a.avi'"$le_double_1_5$le_double_4_0"
    printf '\x06\\clips\x0asecond.mov'"$le_double_unset$le_double_unset"
    printf '\x06\\clips\x09third.mpg'"$le_double_1_5$le_double_4_0"
} >"$work/show.rlx"

# A stand-in player that records how it was started.
mkdir -p "$work/player"
cat >"$work/player/mplayer2" <<SCRIPT
#!/bin/sh
printf '%s|' "\$@" > "$work/player/record.tmp"; pwd >> "$work/player/record.tmp"
mv "$work/player/record.tmp" "$work/player/record"
SCRIPT
chmod +x "$work/player/mplayer2"
printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\MediaPlayer]\n"Installation Directory"="%s"\n' \
    "$(reg_string "$work/player")" >"$work/player.reg"
"$regtool" import "$work/player.reg"

start() {
    (cd "$work" && exec "$reelmix" show.rlx) &
    app_pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^show\.rlx - Reelmix$' | head -n 1) ||
        fail "no window titled 'show.rlx - Reelmix'"
    eval "$(xdotool getwindowgeometry --shell "$window")"
}

quit_from_menu() {
    xdotool windowfocus --sync "$window"
    xdotool key --clearmodifiers alt+f x
    local status=0
    timeout 30 tail --pid="$app_pid" -f /dev/null || fail "reelmix did not end after File > Exit"
    wait "$app_pid" || status=$?
    app_pid=""
    [ "$status" -eq 0 ] || fail "reelmix ended with status $status"
}

placement() {
    "$regtool" list 'HKEY_CURRENT_USER\Software\Brantwell\Reelmix\CMainFrame' 2>/dev/null |
        tr -d '\\\n ' | sed -n 's/.*"WindowPlacement"=hex:\([0-9a-f,]*\).*/\1/p' | tr ',' ' '
}
le32() { local -a b=("$@"); echo $((16#${b[3]}${b[2]}${b[1]}${b[0]})); }

# First start: the show's window, at least the minimum size.
start
[ "$WIDTH" -ge 625 ] && [ "$HEIGHT" -ge 375 ] || fail "window is ${WIDTH}x$HEIGHT"
[ -z "$(placement)" ] || fail "start-up wrote a placement"

# Play Show! (Alt+P) writes the rows as the playlist and starts the registered player.
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers alt+p
for _ in $(seq 100); do [ -f "$work/player/record" ] && break; sleep 0.1; done
[ "$(cat "$work/player/record" 2>/dev/null)" = "Reelmix.asx|$work" ] || fail "the player was not started"
titles=$(grep -o 'Clip [0-9] of [0-9]' "$work/Reelmix.asx" | tr '\n' ',')
[ "$titles" = "Clip 1 of 3,Clip 2 of 3,Clip 3 of 3," ] || fail "playlist titles: $titles"
refs=$(grep -o 'REF HREF="[^"]*"' "$work/Reelmix.asx" | tr '\n' ',')
[ "$refs" = 'REF HREF="C:/Movies/a.avi",REF HREF="/clips/second.mov",REF HREF="/clips/third.mpg",' ] ||
    fail "playlist rows: $refs"

# Multi Load (Alt+M): the options dialog, then the folder browser, typed into as a person would.
mkdir -p "$work/movies/sub"
touch "$work/movies/a.avi" "$work/movies/b.mpg" "$work/movies/notes.txt" \
    "$work/movies/sub/c.mov" "$work/movies/sub/d.AVI"
multi_load() { # the options' mnemonics to press
    xdotool windowfocus --sync "$window"
    xdotool key --clearmodifiers alt+m
    local dialog browser before
    dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Set Options for Multi-Load$' |
        head -n 1) || fail "no Multi Load options"
    xdotool windowfocus --sync "$dialog"
    for key in "$@"; do
        before=$(picture "$dialog")
        xdotool key --clearmodifiers "alt+$key"
        await_new_picture "$dialog" "$before" || fail "alt+$key changed no option"
    done
    xdotool key --clearmodifiers Return
    browser=$(timeout 10 xdotool search --sync --onlyvisible \
        --name '^Select Folder to Load All Movies From:$' | head -n 1) || fail "no folder browser"
    xdotool windowfocus --sync "$browser"
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 10 "$work/movies"
    # The completion list, a window of its own, takes the first Escape.
    timeout 10 xdotool search --sync --onlyvisible --pid "$app_pid" --name '^Reelmix$' >/dev/null ||
        fail "no completion list for the typed folder"
    xdotool key --clearmodifiers Escape Return
    await_no_window '^Select Folder' || fail "the folder browser did not take the folder"
    xdotool windowfocus --sync "$window"
}
# Saves until the show on disk holds COUNT clips: a save pressed while a search still runs
# stores the show as it is then.
save_until() { # COUNT
    for _ in $(seq 100); do
        xdotool key --clearmodifiers ctrl+s
        [ "$(od -An -tu4 -N4 "$work/show.rlx" | tr -d ' ')" = "$1" ] && return 0
        sleep 0.1
    done
    fail "the saved show never held $1 clips"
}
multi_load s
save_until 7 # the three clips it had and the four movies of the folder
[ -n "${REELMIX_E2E_SCREENSHOT:-}" ] &&
    ffmpeg -loglevel error -y -f x11grab -video_size 1280x800 -i "$DISPLAY" -frames:v 1 \
        "$REELMIX_E2E_SCREENSHOT"
multi_load o
save_until 7 # nothing new
xdotool key --clearmodifiers alt+d # Delete: the last clip added is the selected one
xdotool key --clearmodifiers alt+s # Shuffle Clips
save_until 6

quit_from_menu
# The saved show: the three clips it had and the four movies of the folder, less the deleted.
for name in a.avi second.mov third.mpg c.mov d.AVI; do
    grep -aq "$name" "$work/show.rlx" || fail "$name is not in the saved show"
done
! grep -aq b.mpg "$work/show.rlx" || fail "the deleted clip is still in the show"
grep -aqF "$(program_path "$work/movies/sub")" "$work/show.rlx" || fail "folders not stored in program form"
read -r -a bytes <<<"$(placement)"
[ "${#bytes[@]}" -eq 44 ] || fail "placement has ${#bytes[@]} bytes"
[ "$(le32 "${bytes[@]:0:4}")" -eq 44 ] || fail "placement length field"
[ "$(le32 "${bytes[@]:8:4}")" -eq 1 ] || fail "show command $(le32 "${bytes[@]:8:4}")"
left=$(le32 "${bytes[@]:28:4}") top=$(le32 "${bytes[@]:32:4}")
right=$(le32 "${bytes[@]:36:4}") bottom=$(le32 "${bytes[@]:40:4}")
[ $((right - left)) -eq "$WIDTH" ] && [ $((bottom - top)) -eq "$HEIGHT" ] ||
    fail "stored rectangle $left,$top,$right,$bottom for a ${WIDTH}x$HEIGHT window"

# A stored placement brings the next window up at its rectangle.
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Brantwell\\Reelmix\\CMainFrame]\n"WindowPlacement"=hex:%s\n' \
    '2c,00,00,00,00,00,00,00,01,00,00,00,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,c8,00,00,00,96,00,00,00,e8,03,00,00,8a,02,00,00' \
    >"$work/placement.reg"
"$regtool" import "$work/placement.reg"
start
[ "$X $Y $WIDTH $HEIGHT" = "200 150 800 500" ] || fail "restored window at $X $Y ${WIDTH}x$HEIGHT"
quit_from_menu
echo "reelmix end-to-end: passed"
