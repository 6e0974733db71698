#!/usr/bin/env bash
# Installs every Debian package that building, testing and benchmarking yelian needs.
# Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git
    libpcre2-dev zlib1g-dev libopencc-dev opencc libcurl4-openssl-dev libmicrohttpd-dev openssl ca-certificates
    libgtest-dev libgmock-dev libbenchmark-dev
    clang-format clang-14 libclang-rt-14-dev llvm-14
    qt6-base-dev qt6-base-dev-tools qt6-webengine-dev libgl-dev fonts-noto-cjk
    xvfb xauth dpkg-dev
    python3 time
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
