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
cmake/wine-run.sh build/win64 --stop
exit $status
