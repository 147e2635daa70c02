#!/bin/bash
# Installs the Debian packages that building and testing Quorvel need, when any is missing.
set -euo pipefail
# x11-utils: xdpyinfo, which tells whether a display answers; imagemagick: tools/screenshot.sh;
# clang and its runtime: the fuzz preset; clang-format: the formatting check.
packages=(cmake make g++ googletest libgtest-dev libgmock-dev libbenchmark-dev
          g++-mingw-w64-x86-64 wine wine64 xvfb x11-utils imagemagick
          clang libclang-rt-14-dev clang-format nsis)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi
