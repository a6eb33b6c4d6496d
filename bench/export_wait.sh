#!/usr/bin/env bash
# The export benchmark on a private X server: click to the bill's Calc window,
# phase by phase, with the load average before and after.
#   bench/export_wait.sh [--runs N] [--exports N] [benchmark flags]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bench=${CUBRIX_BUILD:-$root/build}/bench/export_wait_bench
[ -x "$bench" ] || { echo "build first: cmake --build build --target export_wait_bench" >&2; exit 1; }
echo "load average before: $(cat /proc/loadavg)"
# A server number of its own: several runs at once may ask for the same.
xvfb-run -a -n $((200 + RANDOM % 700)) -s "-screen 0 1280x1024x24" "$bench" --benchmark_counters_tabular=true "$@"
echo "load average after: $(cat /proc/loadavg)"
