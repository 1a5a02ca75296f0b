#!/usr/bin/env bash
# Installs what building and testing Glyphwell needs on Debian 12. Safe to run again: it only
# installs the packages that are missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang-format
    mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
    wine wine64 xvfb x11-utils xauth
    googletest libgtest-dev libbenchmark-dev libexpat1-dev
    imagemagick
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
