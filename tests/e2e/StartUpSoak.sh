#!/usr/bin/env bash
# Ends the real reelmix with SIGTERM or SIGKILL at random moments of its start: before its window
# shows, just after, and while a second start hands it a show. Afterwards a normal start must
# still come up and take shows from later starts: a socket left by a killed instance never
# stands in the way. Usage: StartUpSoak.sh REELMIX [ROUNDS]
set -euo pipefail
reelmix=$(realpath "$1")
rounds=${2:-100}
source "$(dirname "$0")/PrivateDesktop.sh"
cd "$work"
printf '\0\0\0\0' >first.rlx
printf '\0\0\0\0' >second.rlx

window_for() { timeout 30 xdotool search --sync --onlyvisible --name "^$1 - Reelmix\$" | head -n 1; }
random_ms() { echo $((RANDOM % ($1 + 1))); }
pause_ms() { sleep "$(printf '0.%03d' "$1")"; }
signal() { ((RANDOM % 2)) && echo TERM || echo KILL; }

# A normal start, timed: the kill moments span from nothing to well past the window.
begin=$(date +%s%N)
"$reelmix" first.rlx &
app_pid=$!
window_for first.rlx >/dev/null || fail "the first start showed no window"
shown_ms=$((($(date +%s%N) - begin) / 1000000))
kill -KILL "$app_pid"
wait "$app_pid" 2>/dev/null || true
span=$((shown_ms * 3 / 2 > 999 ? 999 : shown_ms * 3 / 2))

# Four lanes of starts at once, each with its own settings store and so its own channel.
lane() {
    mkdir -p "$work/lane$1" && cd "$work/lane$1" && cp ../first.rlx ../second.rlx .
    export REELMIX_REGISTRY=$PWD/registry.db TMPDIR=$PWD
    local pids
    for _ in $(seq "$((rounds / 4))"); do
        "$reelmix" first.rlx &
        pids=$!
        pause_ms "$(random_ms "$span")"
        if ((RANDOM % 2)); then
            "$reelmix" second.rlx &
            pids="$pids $!"
            pause_ms "$(random_ms 300)"
        fi
        for pid in $pids; do kill "-$(signal)" "$pid" 2>/dev/null || true; done
        for pid in $pids; do wait "$pid" 2>/dev/null || true; done
    done
}
lanes=""
for n in 1 2 3 4; do
    lane "$n" &
    lanes="$lanes $!"
done
for pid in $lanes; do wait "$pid"; done

# The store of a lane, where killed instances left their sockets behind.
cd "$work/lane1"
export REELMIX_REGISTRY=$PWD/registry.db TMPDIR=$PWD
"$reelmix" first.rlx &
app_pid=$!
window=$(window_for first.rlx) || fail "no window after $rounds interrupted starts"
timeout 20 "$reelmix" second.rlx || fail "a second start did not hand its show over"
for _ in $(seq 50); do
    [ "$(xdotool getwindowname "$window")" = "second.rlx - Reelmix" ] && break
    sleep 0.1
done
[ "$(xdotool getwindowname "$window")" = "second.rlx - Reelmix" ] || fail "the show was not taken"
echo "reelmix start-up soak: $((rounds / 4 * 4)) starts ended within $span ms of starting, then a normal one: passed"
