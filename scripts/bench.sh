#!/bin/bash
# Every benchmark of the start-up, the showings, the memory, a press and the actions file in one
# run, each against its bare counterpart: builds the Windows benchmark (win64 preset, benchmarks
# on) and runs it under Wine against the floor program, then builds the native ones (bench
# preset) and runs them. The optional argument is the number of the Wine benchmark's runs (7).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
{
    cmake --preset win64 -DQUORVEL_BENCHMARKS=ON
    cmake --build --preset win64 --target startup_bench
    cmake --preset bench
    cmake --build --preset bench --target tasks_bench session_bench
} >/dev/null

echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), $(nproc) cores," \
    "$(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo);" \
    "$(. /etc/os-release && echo "$PRETTY_NAME"); $(wine --version 2>/dev/null)"
status=0
cmake/wine-run.sh build/win64 build/win64/bench/app/startup_bench.exe "$@" || status=$?
# The run's Wine server and display end with it.
cmake/wine-run.sh build/win64 --stop

# The native benchmarks' medians of five repetitions as CSV, printed as rows of the table above.
native() {
    "$1" --benchmark_filter="$2" --benchmark_repetitions=5 --benchmark_report_aggregates_only \
        --benchmark_format=csv 2>/dev/null
}
echo "Native benchmarks (bench preset), CPU time, medians of 5 repetitions:"
{
    native build/bench/bench/tasks/tasks_bench '^BM_ReadDelimited$'
    native build/bench/bench/session/session_bench '^BM_PressToAction/'
} | awk -F, '
    /^name,/ { for (i = 1; i <= NF; ++i) column[$i] = i; next }
    $1 == "\"BM_ReadDelimited_median\"" {
        printf "  %-46s %9.2f ms  %9.2f ms  %7.2f   (against a plain read)\n",
            "actions file, 100,000 rows: read", $column["\"read_ms\""],
            $column["\"plain_read_ms\""], $column["\"x_plain_read\""]
    }
    $1 == "\"BM_PressToAction/10_median\"" { few = $column["cpu_time"] }
    $1 == "\"BM_PressToAction/100000_median\"" { many = $column["cpu_time"] }
    END {
        printf "  %-46s %9.0f ns  %9.0f ns  %7.2f   (100,000 rows against 10)\n",
            "press to action, one task of 100,000 rows", many, few, many / few
    }'
exit $status
