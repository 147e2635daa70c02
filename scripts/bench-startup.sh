#!/bin/bash
# Builds Quorvel.exe, the floor program and the start-up benchmark (win64 preset, benchmarks
# on) and runs the benchmark under Wine: start-up to the last hotkey and idle memory against
# the floor, and one start with 100,000 rows. The optional argument is the number of runs (7).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset win64 -DQUORVEL_BENCHMARKS=ON
cmake --build --preset win64 --target startup_bench
status=0
cmake/wine-run.sh build/win64 build/win64/bench/app/startup_bench.exe "$@" || status=$?
# The run's Wine server and display end with it.
cmake/wine-run.sh build/win64 --stop
exit $status
