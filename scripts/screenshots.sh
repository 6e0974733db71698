#!/usr/bin/env bash
# Saves pictures of the desktop program into docs/screenshots/: the main window on each of its
# seven tab pages, the "更多" menu, the phrase editor, the input dialog, the help text and the
# template maker (source, preview and candidate list after a generation from an article page
# served on 127.0.0.1). Runs yelian-gui under Xvfb on a copy of the sample settings (the hidden
# option --screenshot DIR grabs the windows and quits without saving), so examples/ stays as
# it is.
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
mkdir -p docs/screenshots "$work/site"
scripts/sample_article_page.sh > "$work/site/article.html"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$work/site" >/dev/null 2>&1 &
server=$!
trap 'kill "$server"; rm -rf "$work"' EXIT
sleep 0.5
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
    "$build_dir/src/qt/yelian-gui" --settings "$work/settings.ini" --screenshot docs/screenshots \
    --screenshot-page "http://127.0.0.1:$port/article.html"
ls docs/screenshots
