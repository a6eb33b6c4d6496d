#!/usr/bin/env bash
# Runs the whole suite (tools/test.sh) RUNS times in a row with the machine
# kept busy beside it (stress-ng on every core), to find tests that fail only
# on a loaded machine. One line per run: when, how long, the outcome, and
# where that run's output is kept.
#   test-loaded.sh [RUNS]   (5 unless given)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
runs=${1:-5}
command -v stress-ng >/dev/null || { echo "stress-ng missing: run tools/install-deps.sh" >&2; exit 1; }
stress-ng --cpu "$(nproc)" --timeout 24h >/dev/null 2>&1 &
stress=$!
trap 'kill "$stress" 2>/dev/null; wait "$stress" 2>/dev/null' EXIT
summary=()
for run in $(seq 1 "$runs"); do
    logs=${XDG_STATE_HOME:-$HOME/.local/state}/cubrix/test-logs/loaded-$(date -u +%Y%m%dT%H%M%SZ)-$run
    start=$(date +%s)
    CUBRIX_TEST_LOGS=$logs bash tools/test.sh >/dev/null 2>&1
    status=$?
    took=$(($(date +%s) - start))
    line="run $run: $(date -u -d "@$start" +%H:%M:%S) UTC, ${took} s, $([ "$status" -eq 0 ] && echo passed || echo FAILED), $logs"
    summary+=("$line")
    echo "$line"
done
printf '%s\n' "${summary[@]}" | grep -q FAILED && exit 1
exit 0
