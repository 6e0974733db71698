#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz and runs one target, or every one in turn
# ("all"), for SECONDS each. Prints each run's last line ("#N DONE cov: X ft: Y ...") and
# fails when any run found a crash, a leak, a time-out or an out-of-memory input; the input
# is left in build-fuzz/findings/TARGET/ (copy it into fuzz/corpus/TARGET/ with the fix).
# Inputs that gained coverage are kept in build-fuzz/corpus/TARGET/ for the next run.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -ne 2 ]; then
    echo "usage: fuzz/run.sh TARGET|all SECONDS" >&2
    exit 2
fi
wanted=$1
seconds=$2
build=${YELIAN_FUZZ_BUILD:-build-fuzz}

targets=()
for source in fuzz/*_fuzz.cc; do
    name=$(basename "$source" _fuzz.cc)
    if [ "$wanted" = all ] || [ "$wanted" = "$name" ]; then
        targets+=("$name")
    fi
done
if [ ${#targets[@]} -eq 0 ]; then
    echo "no fuzz target named $wanted" >&2
    exit 2
fi

CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DYELIAN_FUZZ=ON -DYELIAN_QT=OFF -DYELIAN_TESTS=OFF -DYELIAN_BENCH=OFF >/dev/null
nice cmake --build "$build" -j "$(nproc)" --target "${targets[@]/%/_fuzzer}"

failed=()
for name in "${targets[@]}"; do
    corpus=$build/corpus/$name
    findings=$build/findings/$name
    log=$build/logs/$name.log
    mkdir -p "$corpus" "$findings" "$(dirname "$log")"
    status=0
    # The first folder receives the new inputs; the seeds stay as they are.
    nice "$build/fuzz/${name}_fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 \
        -timeout=10 -print_final_stats=1 -artifact_prefix="$findings/" \
        "$corpus" "fuzz/corpus/$name" >"$log" 2>&1 || status=$?
    done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 || true)
    echo "$name: ${done_line:-no DONE line} (exit $status)"
    if [ "$status" -ne 0 ]; then
        failed+=("$name")
        grep -E 'ERROR|SUMMARY|Test unit written' "$log" | head -n 5 || true
    fi
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzzing found problems in: ${failed[*]} (logs in $build/logs)" >&2
    exit 1
fi
