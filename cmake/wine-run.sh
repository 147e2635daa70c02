#!/bin/bash
# Runs a Windows program under Wine for the build tree given as the first argument.
# The tree keeps a private Wine prefix; one Xvfb display (when none is set) and one
# persistent wineserver serve every test of the run, so each test pays no start-up twice.
#   cmake/wine-run.sh BUILD_DIR program.exe [arguments]
#   cmake/wine-run.sh BUILD_DIR --stop    ends the tree's Wine server and the display it started
set -euo pipefail
build=$(cd "$1" && pwd)
shift
state="$build/wine"
mkdir -p "$state"
export WINEPREFIX="$state/prefix"

if [ "${1:-}" = "--stop" ]; then
    wineserver -k 2>/dev/null || true
    if [ -s "$state/xvfb.pid" ]; then
        kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
        rm -f "$state/xvfb.pid" "$state/display"
    fi
    exit 0
fi
# No menu entries on the Linux desktop for the shortcuts that a tested setup program creates.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEDEBUG="${WINEDEBUG:--all}"

display_alive() {
    [ -s "$state/display" ] && xdpyinfo -display "$(cat "$state/display")" >/dev/null 2>&1
}

start_display() {
    rm -f "$state/display.fd"
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
        3>"$state/display.fd" </dev/null >/dev/null 2>&1 9>&- &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 1 100); do
        [ -s "$state/display.fd" ] && break
        sleep 0.1
    done
    echo ":$(tr -d '\n' <"$state/display.fd")" >"$state/display"
}

exec 9>"$state/lock"
flock 9
if [ -z "${DISPLAY:-}" ]; then
    display_alive || start_display
    export DISPLAY="$(cat "$state/display")"
fi
if [ ! -f "$WINEPREFIX/.quorvel-ready" ]; then
    wineboot -i </dev/null >/dev/null 2>&1 9>&- || true
    wineserver -w
    touch "$WINEPREFIX/.quorvel-ready"
fi
# A persistent server outlives each test; starting it again when it runs is harmless.
setsid wineserver -p </dev/null >/dev/null 2>&1 9>&- || true
flock -u 9
exec 9>&-
# Wine's helper processes (the desktop, services) outlive the program and inherit its output;
# the output goes through a file so that a caller reading a pipe (ctest) still sees it end.
out=$(mktemp "$state/out.XXXXXX")
rc=0
wine "$@" </dev/null >"$out" 2>&1 || rc=$?
cat "$out"
rm -f "$out"
exit "$rc"
