#!/usr/bin/env bash
# Fails when a file includes a header of a folder above its own, when a library links one above
# it, or when a file sits directly in a folder that is split into rooms. bench/ and tests/ are
# free.
set -euo pipefail
cd "$(dirname "$0")/.."

# Each folder (or room of a folder) and what it stands on. It may include and link itself, what
# it stands on and, in turn, what those stand on; a folder named without a room stands for all
# of its rooms. A folder with rooms holds rooms only. Folders that do not exist yet are fine.
layers='
platform/core
platform/files      platform/core
platform/process    platform/files
platform/registry   platform/process
platform/gdi        platform/registry
platform/windows    platform/gdi
platform/framework  platform/windows
platform/media      platform/core
res                 platform
util                res
controls            util
show                controls
preview             controls
render              platform/media show
app                 render preview
player              platform util
'

read -ra tops <<<"$(awk 'NF { sub("/.*", "", $1); print $1 }' <<<"$layers" | sort -u | tr '\n' ' ')"
present=()
for top in "${tops[@]}"; do
    if [ -d "$top" ]; then present+=("$top"); fi
done

{
    awk 'NF { print "T", $0 }' <<<"$layers"
    find "${present[@]}" -type f | sed 's/^/F /'
    find "${present[@]}" -name CMakeLists.txt | sed 's/^/C /'
    grep -rnE --include='*.cpp' --include='*.h' '^\s*#\s*include "[^"]*/' "${present[@]}" |
        sed -E 's/^([^:]*):([0-9]*):\s*#\s*include "([^"]*)".*/I \1 \2 \3/'
} | awk '
# The unit a path belongs to: the longest listed folder it lies in, else empty.
function unit(path,    u, best) {
    best = ""
    for (u in deps)
        if (within(path, u) && length(u) > length(best))
            best = u
    return best
}
function within(path, folder) { return path == folder || index(path, folder "/") == 1 }
# Whether what lies in from may use to: itself, its own rooms, or what it stands on in turn.
function allowed(from, to,    n, i, u, list) {
    if (within(to, from))
        return 1
    if ((from SUBSEP to) in memo)
        return memo[from, to]
    memo[from, to] = 0
    n = split(deps[from], list, " ")
    for (i = 1; i <= n; i++) {
        if (within(to, list[i]))
            return memo[from, to] = 1
        for (u in deps)
            if (within(u, list[i]) && (within(to, u) || allowed(u, to)))
                return memo[from, to] = 1
    }
    return 0
}
function fail(message) { print message; status = 1 }
# The unit of a folder, or the folder itself when it only holds rooms (platform/).
function owner(dir) { return unit(dir) != "" ? unit(dir) : dir }
function dirname(path) { sub("/[^/]*$", "", path); return path }

$1 == "T" { deps[$2] = ""; for (i = 3; i <= NF; i++) deps[$2] = deps[$2] " " $i; next }
$1 == "F" { files[$2] = 1; next }
$1 == "C" { cmake[$2] = 1; next }
$1 == "I" {
    from = unit($2); to = unit($4)
    top = $4; sub("/.*", "", top)
    if (to == "" && (top == "tests" || top == "bench"))
        fail($2 ":" $3 ": includes " $4 ", which nothing in the program stands on")
    else if (from != "" && to != "" && !allowed(from, to))
        fail($2 ":" $3 ": includes " $4 ", but " from " does not stand on " to)
    next
}
END {
    for (u in deps) {
        parent = u; sub("/[^/]*$", "", parent)
        if (parent != u) rooms[parent] = 1
    }
    for (f in files)
        if (dirname(f) in rooms && f !~ /\/CMakeLists\.txt$/)
            fail(f ": " dirname(f) "/ holds rooms only")
    # Which folder defines each target, then every target a link line names.
    for (c in cmake) {
        while ((getline line < c) > 0)
            if (match(line, /^ *(add_library|add_executable|reelmix_library)\( *[A-Za-z0-9_.-]+/)) {
                name = substr(line, RSTART, RLENGTH); sub(/.*\( */, "", name)
                target[name] = owner(dirname(c))
            }
        close(c)
    }
    for (c in cmake) {
        from = owner(dirname(c)); text = ""; n = 0
        while ((getline line < c) > 0) {
            n++
            sub(/#.*/, "", line)
            if (text == "" && line ~ /target_link_libraries\(/) { text = line; at = n }
            else if (text != "") text = text " " line
            if (text != "" && text ~ /\)/) {
                sub(/.*target_link_libraries\(/, "", text); sub(/\).*/, "", text)
                count = split(text, words, /[ \t]+/)
                for (i = 1; i <= count; i++)
                    if ((words[i] in target) && !allowed(from, target[words[i]]))
                        fail(c ":" at ": links " words[i] ", but " from " does not stand on " \
                             target[words[i]])
                text = ""
            }
        }
        close(c)
    }
    exit status
}'
