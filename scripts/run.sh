#!/usr/bin/env bash
# Generates the sample site: installs the packages that are missing, builds yelian (Release),
# copies the sample articles to a fresh folder under build/ and runs "yelian generate" on them
# with the sample settings, then prints where the site is. The repository itself is never
# written outside build/.
# With --gui it starts the desktop program on a copy of the sample settings instead.
# Usage: scripts/run.sh [--gui]
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

build_dir=build/release
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null

if [ "${1:-}" = "--gui" ]; then
    cmake --build "$build_dir" --target yelian-gui -j "$(nproc)"
    mkdir -p build/sample-gui
    [ -f build/sample-gui/settings.ini ] || cp -r examples/settings.ini examples/inibin build/sample-gui/
    exec "$build_dir/src/qt/yelian-gui" --settings build/sample-gui/settings.ini
fi
cmake --build "$build_dir" --target yelian -j "$(nproc)"

site=build/sample-site
rm -rf "$site"
mkdir -p "$site"
cp -r examples/articles "$site/"

# The output folder's path is the one line yelian prints on standard output.
output=$("$build_dir/yelian" generate --settings examples/settings.ini --yes --quiet \
    "$site/articles")
echo
echo "The sample site is in: $output"
if [ -f "${output}index.htm" ]; then
    echo "Start at its first list page: ${output}index.htm"
fi
