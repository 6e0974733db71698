#!/usr/bin/env bash
# The desktop program's figures: the time from the start to the main window shown and its
# resident memory when idle, under Xvfb with the sample settings. The window counts as shown
# when the X server lists a window with the program's caption; the memory is read a second
# later; SIGTERM then ends the program as logging out does.
# Usage: bench/gui/run.sh [RUNS] [BUILD_DIR]   (defaults 5, build/release)
set -euo pipefail
cd "$(dirname "$0")/../.."

runs=${1:-5}
build_dir=${2:-build/release}
cmake -S . -B "$build_dir" -G Ninja >/dev/null
cmake --build "$build_dir" --target yelian-gui -j "$(nproc)" >/dev/null
gui=$build_dir/src/qt/yelian-gui
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r examples/settings.ini examples/inibin "$work/"

xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    gui=$1 work=$2 runs=$3
    best=
    for _ in $(seq "$runs"); do
        start=$(date +%s%N)
        "$gui" --settings "$work/settings.ini" &
        pid=$!
        # The window is shown once the process has a top-level X window.
        until xwininfo -root -tree 2>/dev/null | grep -q "澜川"; do sleep 0.005; done
        ms=$(( ($(date +%s%N) - start) / 1000000 ))
        sleep 1
        rss=$(awk "/VmRSS/ {print \$2}" /proc/$pid/status)
        kill -TERM $pid; wait $pid
        echo "start to window shown: ${ms} ms, idle RSS: $((rss / 1024)) MiB"
    done
' _ "$gui" "$work" "$runs"
