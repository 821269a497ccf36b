#!/usr/bin/env bash
# Makes the Debian package of a build, unpacks it into a private root as dpkg would and runs
# what it installed from there: the programs answer, the desktop files and manual pages
# validate, and the program plays a show with the unpacked player although no player is
# registered, leaving the desktop registration to the installed entry.
# Usage: Package.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
source "$(dirname "$0")/PrivateDesktop.sh"

cpack -G DEB -B "$work/package" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$work/cpack.log")"
deb=$(ls "$work"/package/reelmix_*.deb) || fail "cpack made no reelmix package"
echo "$(basename "$deb"):"
dpkg-deb -f "$deb" Package Version Depends
dpkg-deb -x "$deb" "$work/root"
usr=$work/root/usr
(cd "$work/root" && find . -type f | sort)

expect() { # TEXT COMMAND...: the command succeeds and prints TEXT
    local output
    output=$("${@:2}" 2>&1) || fail "$*: $output"
    [[ "$output" == *"$1"* ]] || fail "${*:2} printed: $output"
}
expect "Reelmix Version 1.0" "$usr/bin/reelmix" --version
expect "Usage: mplayer2" "$usr/libexec/reelmix/mplayer2" --help
expect "usage: reelmix-registry list" "$usr/bin/reelmix-registry" --help
expect "Usage: reelmix-render --format" "$usr/bin/reelmix-render" --help
expect "" desktop-file-validate "$usr/share/applications/reelmix.desktop"
expect "Validation was successful" appstreamcli validate --no-net \
    "$usr"/share/metainfo/*.metainfo.xml
expect "" update-mime-database "$usr/share/mime"
[ -f "$usr/share/mime/application/x-reelmix-show.xml" ] || fail "the MIME type did not register"
for page in "$usr"/share/man/man1/*.1; do
    [ -z "$(LC_ALL=C.UTF-8 groff -man -ww -z -Tutf8 "$page" 2>&1)" ] || fail "warnings in $page"
done

# A show of one clip whose movie is missing: the player says it skipped it, which shows that
# it ran. The desktop finds the installed entry, so nothing is registered per user.
export XDG_DATA_DIRS=$usr/share:/usr/share REELMIX_PLAYER_HEADLESS=1
unset_mark='\x00\x00\x00\x00\x00\x00\xf0\xbf'
printf '\x01\x00\x00\x00\x08\\nowhere\x0bmissing.avi'"$unset_mark$unset_mark" >"$work/show.rlx"
(cd "$work" && exec "$usr/bin/reelmix" show.rlx 2>"$work/errors") &
app_pid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^show\.rlx - Reelmix$' | head -n 1) ||
    fail "no window titled 'show.rlx - Reelmix'"
[ ! -e "$XDG_DATA_HOME/applications/reelmix.desktop" ] ||
    fail "a per-user desktop entry was written beside the installed one"
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers alt+p
timeout 60 sh -c "until grep -q '^mplayer2: Skipped' '$work/errors'; do sleep 0.1; done" ||
    fail "the unpacked player did not play the show: $(cat "$work/errors")"
echo "package: passed"
