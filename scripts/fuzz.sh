#!/usr/bin/env bash
# Builds the fuzz targets with clang under the address and undefined-behaviour sanitizers and
# runs each for SECONDS over its seeds in tests/fuzz/corpus/<target>/ (the list readers also over
# ../shared/corpus/playlists/ when it is there); inputs it finds are kept
# in build-fuzz/corpus/<target>/, failing ones in build-fuzz/artifacts/. A crash, a leak, an
# input taking over 1 s or an allocation over 100 MB fails the run.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (extra libFuzzer flags in $FUZZ_FLAGS)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
seconds=${1:-60}
shift $(($# > 0 ? 1 : 0))
dir=build-fuzz
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
fi
CXX=clang++ cmake -S . -B "$dir" -G Ninja "${launcher[@]}" -DREELMIX_BUILD_TESTS=OFF \
    -DREELMIX_SANITIZE=ON -DREELMIX_BUILD_FUZZ=ON >/dev/null
cmake --build "$dir" --target fuzzers -j "$(nproc)"

export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-suppressions.txt QT_QPA_PLATFORM=offscreen
targets=("$@")
[ ${#targets[@]} -gt 0 ] || mapfile -t targets < <(ls tests/fuzz/corpus)
failed=()
for t in "${targets[@]}"; do
    mkdir -p "$dir/corpus/$t" "$dir/artifacts" "$dir/tmp/$t"
    log=$dir/$t.log
    status=0
    # Lists other programs wrote, beside the tree, are seeds of the list readers as they are.
    seeds=("tests/fuzz/corpus/$t")
    [ "$t" = lists ] && [ -d ../shared/corpus/playlists ] && seeds+=(../shared/corpus/playlists)
    # shellcheck disable=SC2086
    TMPDIR=$PWD/$dir/tmp/$t "$dir/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=1 \
        -malloc_limit_mb=100 -print_final_stats=1 -artifact_prefix="$dir/artifacts/$t-" \
        ${FUZZ_FLAGS:-} "$dir/corpus/$t" "${seeds[@]}" >"$log" 2>&1 || status=$?
    rm -rf "${dir:?}/tmp/$t"
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    cov=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1)
    echo "$t: ${execs:-?} execs in ${seconds} s, ${cov:-no coverage line}, status $status"
    if [ "$status" -ne 0 ]; then
        failed+=("$t")
        grep -m 5 -E 'ERROR|SUMMARY|Test unit written' "$log" || tail -n 20 "$log"
    fi
done
[ ${#failed[@]} -eq 0 ] || { echo "fuzzing failed: ${failed[*]} (logs in $dir/)"; exit 1; }
