#!/usr/bin/env bash
# Runs every benchmark: the native ones of the portable logic (optimised build), then the tap
# latency probe of the win64 build under Wine (the keyboard typing into a window, next to a bare
# SendInput). Arguments go to the probe: [samples] [warm-up samples].
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh
step() { printf '\n=== %s\n' "$*"; }

step "native benchmarks"
cmake --preset bench >/dev/null
cmake --build --preset bench
build/bench/gw_bench

step "tap latency under Wine"
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target GWTapLatencyProbe
cd build/win64
../../scripts/wine-run ./GWTapLatencyProbe.exe "$@"
