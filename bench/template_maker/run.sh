#!/usr/bin/env bash
# Time from request to template for a large article page served on 127.0.0.1: through the
# command line (yelian template: download, recognition, tags), then from the template maker's
# window under Xvfb (the click to the template shown, with the candidate list), which also
# reports how often the window's event loop ran meanwhile and the longest time it did not.
# Usage: bench/template_maker/run.sh [BUILD_DIR] [PARAGRAPHS]   (defaults: build, 2800 ≈ 680 KB)
set -euo pipefail
cd "$(dirname "$0")/../.."
build_dir=${1:-build}
work=$(mktemp -d)
scripts/sample_article_page.sh "${2:-2800}" > "$work/article.html"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$work" >/dev/null 2>&1 &
server=$!
trap 'kill "$server"; rm -rf "$work"' EXIT
sleep 0.5
echo "page: $(stat -c %s "$work/article.html") bytes"
for run in 1 2 3; do
    /usr/bin/time -f "run $run: %e s" "$build_dir/yelian" template \
        "http://127.0.0.1:$port/article.html" -o "$work/template.html"
done
grep -c '#导入的文件内容#' "$work/template.html" >/dev/null && echo "body tag in place"
for run in 1 2 3; do
    echo "window run $run: $(xvfb-run -a -s "-screen 0 1280x1024x24" "$build_dir/gui_template_run" \
        "http://127.0.0.1:$port/article.html" "$work/window.ini")"
done
