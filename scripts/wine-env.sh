# Sourced by the scripts that run Windows programs. Sets up the environment for the project's
# Wine prefix; gw_wine_ready starts what is missing (display, prefix, wineserver).
GW_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
GW_WINE64=/usr/lib/wine/wine64
GW_WINESERVER=/usr/lib/wine/wineserver64
export WINEPREFIX="${GW_WINEPREFIX:-$GW_ROOT/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installers: nothing here needs them and they would try the network.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
GW_XVFB_DISPLAY="${GW_XVFB_DISPLAY:-:87}"

gw_display_alive() {
    [ -n "${DISPLAY:-}" ] && xdpyinfo -display "$DISPLAY" >/dev/null 2>&1
}

# Uses the private display if it runs, else starts it; a display number taken by something
# else (or by a stale lock) moves us on to the next one.
gw_start_xvfb() {
    local base=${GW_XVFB_DISPLAY#:}
    for n in $(seq "$base" $((base + 5))); do
        export DISPLAY=":$n"
        gw_display_alive && return 0
        Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 9>&- &
        for _ in $(seq 50); do
            gw_display_alive && return 0
            kill -0 $! 2>/dev/null || break
            sleep 0.1
        done
    done
    echo "wine-env: no Xvfb display could be started from $GW_XVFB_DISPLAY on" >&2
    return 1
}

gw_wine_ready() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    exec 9>"$WINEPREFIX.lock"
    flock 9
    # Tests always use the private display, so they never draw on the user's screen.
    if [ "${GW_USE_USER_DISPLAY:-0}" != 1 ] || ! gw_display_alive; then
        gw_start_xvfb
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "wine-env: booting the Wine prefix $WINEPREFIX (once)" >&2
        "$GW_WINE64" wineboot -i </dev/null >/dev/null 2>&1 9>&- || true
        "$GW_WINESERVER" -w
    fi
    # A persistent wineserver keeps the prefix warm between test programs. When it is new,
    # start the prefix's services now, detached from our output: started by the first test
    # program instead, they would hold its output pipe open and CTest would wait forever.
    if "$GW_WINESERVER" -p </dev/null >/dev/null 2>&1 9>&-; then
        "$GW_WINE64" wineboot </dev/null >/dev/null 2>&1 9>&- || true
    fi
    flock -u 9
    exec 9>&-
}
