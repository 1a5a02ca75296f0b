#!/usr/bin/env bash
# Runs every benchmark: the native ones of the portable logic (optimised build), then the probes
# of the win64 build under Wine: the tap latency probe (the keyboard typing into a window, next
# to a bare SendInput) and the hook probe (the hook library's cost per message next to a hook
# that only passes the message on, and draining a full ring). Arguments go to the tap latency
# probe: [samples] [warm-up samples].
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
cmake --build --preset win64 --target GWTapLatencyProbe GWHookProbe GWMacroProbe
cd build/win64
../../scripts/wine-run ./GWTapLatencyProbe.exe "$@"

step "hook library under Wine"
../../scripts/wine-run ./GWHookProbe.exe

step "macros under Wine"
../../scripts/wine-run ./GWMacroProbe.exe
