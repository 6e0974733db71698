#!/usr/bin/env bash
# Generates the sample site: installs the packages that are missing, builds yelian (Release),
# copies the sample articles to a fresh folder under build/ and runs "yelian generate" on them
# with the sample settings, then prints where the site is. The repository itself is never
# written outside build/.
# Usage: scripts/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

build_dir=build/release
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
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
