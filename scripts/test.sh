#!/bin/bash
# Installs what is missing, builds both presets and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset native
cmake --build --preset native
ctest --preset native
cmake --preset win64 -DQUORVEL_TESTS=ON
cmake --build --preset win64
status=0
ctest --preset win64 || status=$?
# The run's Wine server and display end with it.
WINEPREFIX="$PWD/build/win64/wine/prefix" wineserver -k 2>/dev/null || true
if [ -s build/win64/wine/xvfb.pid ]; then
    kill "$(cat build/win64/wine/xvfb.pid)" 2>/dev/null || true
fi
exit $status
