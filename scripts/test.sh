#!/usr/bin/env bash
# Builds all three builds and runs every test: native unit tests (with sanitizers), then the
# win64 build's unit, Windows and end-to-end tests under Wine; the win32 build is built only.
# Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh

jobs=$(nproc)
step() { printf '\n=== %s\n' "$*"; }

step "format check"
git ls-files -z '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run -Werror

step "native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"

step "win64 build and tests under Wine"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs"
ctest --preset win64 -j "$jobs"

step "win32 build"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"

step "all builds passed"
