#!/usr/bin/env bash
# Installs what is missing, builds yelian and runs every test.
# Usage: scripts/test.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
scripts/setup.sh

cmake_args=(-S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${CI:-}" = "true" ]; then
    cmake_args+=(-DYELIAN_WERROR=ON)
fi
cmake "${cmake_args[@]}" ${YELIAN_CMAKE_ARGS:-}
cmake --build "$build_dir" -j "$(nproc)"
ctest --test-dir "$build_dir" -j "$(nproc)" --output-on-failure
