#!/bin/bash
# Runs the program tests' look tests again under other settings of the tree's Wine prefix: at 144
# and 192 DPI, and without a visual style in high-contrast colours. Wine reads these settings
# when its server starts, so each setting restarts the prefix's server; the prefix's own settings
# are put back at the end, however the run ends. With QUORVEL_SHOTS set to a folder, the tests
# leave pictures of every window there, at 96 DPI too, and the high-contrast ones in its folder
# high-contrast.
#   tests/app/look_test.sh BUILD_DIR quorvel_program_test.exe
set -euo pipefail
build=$(cd "$1" && pwd)
tests=$2
wine_run="$(cd "$(dirname "$0")/../.." && pwd)/cmake/wine-run.sh"
export WINEPREFIX="$build/wine/prefix"
desktop='HKCU\Control Panel\Desktop'
colours='HKCU\Control Panel\Colors'
themes='HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager'
kept=$(mktemp -d)

# A Wine start now and then fails on a busy machine: a setting is tried again before it counts.
reg() {
    for _ in 1 2 3; do
        "$wine_run" "$build" reg "$@" >/dev/null 2>&1 && return 0
        sleep 1
    done
    echo "reg $* failed" >&2
    return 1
}
restart_server() { wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true; }
look_tests() {
    "$wine_run" "$build" "$tests" \
        --gtest_filter='*EveryWindowHoldsItsControls*:*OptionCaptionsShowTheirText*'
}

put_back() {
    reg add "$desktop" /v LogPixels /t REG_DWORD /d 96 /f || true
    for key in "$colours" "$themes"; do
        reg delete "$key" /f || true
        if [ -s "$kept/${key##*\\}.reg" ]; then
            reg import "Z:${kept//\//\\}\\${key##*\\}.reg" || true
        fi
    done
    restart_server
    rm -rf "$kept"
}

for key in "$colours" "$themes"; do
    reg export "$key" "Z:${kept//\//\\}\\${key##*\\}.reg" /y || true
done
trap put_back EXIT

status=0
[ -n "${QUORVEL_SHOTS:-}" ] && { look_tests || status=1; }
for dpi in 144 192; do
    reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f
    restart_server
    look_tests || status=1
done
reg add "$desktop" /v LogPixels /t REG_DWORD /d 96 /f
# High contrast white, without a visual style: a page left unpainted would show black.
reg add "$themes" /v ThemeActive /t REG_SZ /d 0 /f
for colour in Window=255,255,255 WindowText=0,0,0 ButtonFace=255,255,255 ButtonText=0,0,0 \
    ButtonShadow=0,0,0 ButtonHilight=0,0,0 Menu=255,255,255 MenuText=0,0,0 \
    Hilight=55,0,110 HilightText=255,255,255 InfoWindow=255,255,255 InfoText=0,0,0 \
    GrayText=96,0,0 HotTrackingColor=0,0,159 Background=255,255,255; do
    value=${colour#*=}
    reg add "$colours" /v "${colour%=*}" /t REG_SZ /d "${value//,/ }" /f
done
restart_server
if [ -n "${QUORVEL_SHOTS:-}" ]; then
    export QUORVEL_SHOTS="$QUORVEL_SHOTS/high-contrast"
    mkdir -p "$QUORVEL_SHOTS"
fi
look_tests || status=1
exit $status
