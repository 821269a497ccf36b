# Sourced by the end-to-end scripts: a private home, settings store and X server in $work, all
# removed on exit together with $app_pid. Defines fail().
work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill $app_pid 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/share TMPDIR=$work
export XDG_RUNTIME_DIR=$work/run REELMIX_REGISTRY=$work/registry.db QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=:$(cat "$work/display")

# The MD5 of what a window shows now.
picture() {
    ffmpeg -loglevel error -f x11grab -window_id "$1" -i "$DISPLAY" -frames:v 1 -f md5 - 2>/dev/null
}

# Waits (boundedly) until a window shows other than BEFORE, alike in two grabs in a row: a check
# box clicked by its mnemonic takes its new state after a short animation.
await_new_picture() { # WINDOW BEFORE
    local previous="" now
    for _ in $(seq 100); do
        now=$(picture "$1")
        [ "$now" != "$2" ] && [ "$now" = "$previous" ] && return 0
        previous=$now
    done
    return 1
}

# Waits (boundedly) until a window shows strong colour, as the first picture of a test movie.
await_colour() { # WINDOW
    local saturation
    for _ in $(seq 100); do
        saturation=$(ffmpeg -loglevel error -f x11grab -window_id "$1" -i "$DISPLAY" -frames:v 1 \
            -vf signalstats,metadata=print:key=lavfi.signalstats.SATAVG:file=- -f null - 2>/dev/null |
            sed -n 's/.*SATAVG=\([0-9]*\).*/\1/p')
        [ "${saturation:-0}" -ge 20 ] && return 0
        sleep 0.1
    done
    return 1
}

# Waits (boundedly) until no window shown has a name matching PATTERN.
await_no_window() { # PATTERN
    timeout 10 sh -c "while xdotool search --onlyvisible --name '$1' >/dev/null; do sleep 0.1; done"
}
