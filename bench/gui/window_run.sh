#!/usr/bin/env bash
# A generation run started from the desktop program's window against the same run of
# "yelian generate": N articles of the generation benchmark's corpus, template 1, the design
# settings, every file of the folder. The window run is under Xvfb with a real window; it
# reports how often its event loop ran during the run and the longest time it did not.
# Usage: bench/gui/window_run.sh [N] [RUNS] [BUILD_DIR]   (defaults 10000, 3, build/release)
set -euo pipefail
cd "$(dirname "$0")/../.."

count=${1:-10000}
runs=${2:-3}
build_dir=${3:-build/release}
cmake -S . -B "$build_dir" -G Ninja >/dev/null
cmake --build "$build_dir" --target yelian gui_window_run -j "$(nproc)" >/dev/null

work=${BENCH_DIR:-$PWD/build/bench-generation}
mkdir -p "$work"
corpus=$work/corpus-$count
stamp=$(sha256sum bench/generation/make_corpus.py | cut -c1-16)
if [ "$(cat "$corpus.done" 2>/dev/null)" != "$stamp" ]; then
    rm -rf "$corpus" "$corpus.done"
    python3 bench/generation/make_corpus.py "$count" "$corpus"
    echo "$stamp" >"$corpus.done"
fi

best() { sort -n | head -1; }
cli_times=()
window_lines=()
for ((run = 1; run <= runs; run++)); do
    rm -rf "$corpus/单页目录" "$work/window.ini" "$work/cli.ini"
    start=$(date +%s.%N)
    "$build_dir/yelian" generate --settings "$work/cli.ini" --template 1 --yes --quiet \
        --set '编辑框目录过滤=*' "$corpus" >/dev/null
    cli_times+=("$(awk "BEGIN { printf \"%.3f\", $(date +%s.%N) - $start }")")
    rm -rf "$corpus/单页目录"
    window_lines+=("$(xvfb-run -a -s "-screen 0 1280x1024x24" "$build_dir/gui_window_run" \
        "$corpus" "$work/window.ini")")
done
cli_best=$(printf '%s\n' "${cli_times[@]}" | best)
window_best=$(printf '%s\n' "${window_lines[@]}" | best)
window_seconds=${window_best%% s,*}
echo "N = $count articles, best of $runs runs"
echo "yelian generate: $cli_best s"
echo "from the window: $window_best"
awk "BEGIN { printf \"window / command line: %.2f\\n\", $window_seconds / $cli_best }"
