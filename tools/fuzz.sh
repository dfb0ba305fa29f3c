#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang into build-fuzz/ and runs
# each (or the TARGETs named) for SECONDS (default 60), starting from its
# seeds in fuzz/corpus/.
# Prints every target's executions; exits non-zero when any target found a
# crash, a sanitizer report, a broken invariant or a hang.
#
#   tools/fuzz.sh [SECONDS [TARGET...]]    e.g. tools/fuzz.sh 600 answer configfile
#   QUORVANE_FUZZ_BUILD=DIR picks another build dir
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/common.sh

seconds=${1:-60}
shift || true
build=${QUORVANE_FUZZ_BUILD:-build-fuzz}
# Filling every allocation and a large quarantine cost the fast targets
# more than half their speed and find nothing ASan would not find anyway.
export ASAN_OPTIONS=${ASAN_OPTIONS:-max_malloc_fill_size=0:quarantine_size_mb=16}

# Only the fuzz build needs clang and its fuzzer runtime; the program does not.
ensure_packages clang libclang-rt-14-dev
echo "== building the fuzz targets in $build"
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DQUORVANE_FUZZ=ON >/dev/null
cmake --build "$build" -j2 --target fuzz_all >"$build/fuzz-build.log" 2>&1 ||
    { tail -50 "$build/fuzz-build.log"; exit 1; }

findings=0
for src in fuzz/fuzz_*.cpp; do
    exe=$(basename "$src" .cpp)
    target=${exe#fuzz_}
    [ $# -eq 0 ] || [[ " $* " == *" $target "* ]] || continue
    # An answer block or a target line is tens to hundreds of bytes: longer
    # inputs only add more of the same.
    limits=()
    [ "$target" != answer ] && [ "$target" != targets ] || limits=(-max_len=1024)
    # New inputs go to a corpus inside the build dir, so the committed seeds
    # stay as they are; artifacts (crash-*, leak-*, timeout-*) land beside it.
    work="$build/fuzz-run/$target"
    mkdir -p "$work/corpus"
    rm -f "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-*
    status=0
    "$build/fuzz/$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 "${limits[@]}" \
        -print_final_stats=1 -artifact_prefix="$work/" "$work/corpus" "fuzz/corpus/$target" \
        >"$work/log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/log")
    corpus=$(find "$work/corpus" -type f | wc -l) # kept across runs of this build dir
    if [ "$status" -eq 0 ]; then
        echo "== $target: ${runs:-?} executions in ${seconds} s (${rate:-?}/s), no finding; $corpus inputs in $work/corpus"
    else
        findings=$((findings + 1))
        echo "== $target: FINDING (exit $status) after ${runs:-?} executions; log $work/log"
        grep -m1 -E 'ERROR: |fuzz invariant broken|runtime error|ASSERT' "$work/log" || true
        ls "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-* 2>/dev/null || true
        tail -40 "$work/log"
    fi
done
[ "$findings" -eq 0 ]
