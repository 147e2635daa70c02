#!/bin/bash
# Builds Quorvel.exe, the floor program and the start-up benchmark (win64 preset, benchmarks
# on) and runs the benchmark under Wine: start-up to the last hotkey and idle memory against
# the floor, and one start with 100,000 rows. The optional argument is the number of runs (7).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset win64 -DQUORVEL_BENCHMARKS=ON
cmake --build --preset win64 --target startup_bench
state=build/win64/wine

# Whether the tree's Wine server runs: it works in a folder named after its prefix.
wine_server_running() {
    [ -d "$state/prefix" ] || return 1
    local folder pid
    folder=$(printf 'server-%x-%x' "$(stat -c %d "$state/prefix")" "$(stat -c %i "$state/prefix")")
    for pid in $(pgrep wineserver); do
        [ "$(basename "$(readlink "/proc/$pid/cwd")")" = "$folder" ] && return 0
    done
    return 1
}

display_running() {
    [ -n "${DISPLAY:-}" ] ||
        { [ -s "$state/display" ] && xdpyinfo -display "$(cat "$state/display")" >/dev/null 2>&1; }
}

# The Wine server and display that this run starts end with it; running ones stay.
server_before=no
wine_server_running && server_before=yes
display_before=no
display_running && display_before=yes
status=0
cmake/wine-run.sh build/win64 build/win64/bench/app/startup_bench.exe "$@" || status=$?
if [ "$server_before" = no ]; then
    WINEPREFIX="$PWD/$state/prefix" wineserver -k 2>/dev/null || true
fi
if [ "$display_before" = no ] && [ -s "$state/xvfb.pid" ]; then
    kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
fi
exit $status
