#!/usr/bin/env bash
# Builds Glyphwell for 64-bit Windows and starts it under Wine together with Notepad to type
# into. On a desktop it uses your display; without one it runs on a private Xvfb display and
# saves a screenshot to build/run-screenshot.png after a few seconds.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Glyphwell

source scripts/wine-env.sh
if gw_display_alive; then export GW_USE_USER_DISPLAY=1; fi
gw_wine_ready

install_dir=build/win64/Glyphwell
"$GW_WINE64" notepad >/dev/null 2>&1 &
sleep 2
cd "$install_dir"
"$GW_WINE64" Glyphwell.exe >/dev/null 2>&1 &
app=$!
cd - >/dev/null

if [ "${GW_USE_USER_DISPLAY:-0}" = 1 ]; then
    echo "Glyphwell is running on $DISPLAY next to Notepad; close it from its menu or tray icon."
    wait "$app"
else
    sleep "${GW_SCREENSHOT_DELAY:-6}"
    import -display "$DISPLAY" -window root build/run-screenshot.png
    echo "No display: Glyphwell runs on the private display $DISPLAY."
    echo "Screenshot: build/run-screenshot.png (stop it with: $GW_WINESERVER -k)"
fi
