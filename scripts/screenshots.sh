#!/usr/bin/env bash
# Saves pictures of the desktop program into docs/screenshots/: the main window on each of its
# seven tab pages, the "更多" menu, the phrase editor, the input dialog and the help text. Runs
# yelian-gui under Xvfb on a copy of the sample settings (the hidden option --screenshot DIR
# grabs the windows and quits without saving), so examples/ stays as it is.
# Usage: scripts/screenshots.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
scripts/setup.sh
cmake -S . -B "$build_dir" -G Ninja >/dev/null
cmake --build "$build_dir" --target yelian-gui -j "$(nproc)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r examples/settings.ini examples/inibin "$work/"
mkdir -p docs/screenshots
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
    "$build_dir/src/qt/yelian-gui" --settings "$work/settings.ini" --screenshot docs/screenshots
ls docs/screenshots
