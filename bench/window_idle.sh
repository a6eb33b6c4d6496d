#!/usr/bin/env bash
# The window's idle load with the worked example keyed in, against a bare Qt
# window running the same empty 10 ms timer, both under one Xvfb in one run;
# then start-up time to the first painted frame and resident memory.
#   bench/window_idle.sh [SECONDS]     (default 10)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
secs=${1:-10}
build=${CUBRIX_BUILD:-$root/build}

if [ -z "${CUBRIX_IN_XVFB:-}" ]; then
    CUBRIX_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
fi
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"

cpu_ns() { awk '{print $1}' "/proc/$1/schedstat"; }  # time on a CPU, nanoseconds
percent() {  # ns_before ns_after -> percent of one core over $secs
    awk -v b="$1" -v a="$2" -v s="$secs" 'BEGIN {printf "%.3f", 100 * (a - b) / 1e9 / s}'
}
wait_window() {  # pid name
    for _ in $(seq 50); do
        wid=$(xdotool search --onlyvisible --pid "$1" --name "$2" 2>/dev/null | head -n 1) && [ -n "$wid" ] && return 0
        sleep 0.1
    done
    return 1
}

"$build/bench/bare_timer_window" & bare=$!
"$build/app/cubrix" & app=$!
trap 'kill $bare $app 2>/dev/null || true' EXIT
wait_window $bare bare
wait_window $app Cubrix
xdotool windowfocus --sync "$wid" 2>/dev/null || true
xdotool mousemove --window "$wid" 100 170 click 1
for line in "4.2 150 25 1 1000" "6 200 50 10 1250" "1.5 100 1 1 99.9" "4 150 25 3"; do
    for v in $line; do xdotool type --delay 5 "$v"; xdotool key Tab; done
done
sleep 1
rss=$(awk '/VmRSS/ {print $2}' "/proc/$app/status")

# Both over the same seconds.
b0=$(cpu_ns $bare); a0=$(cpu_ns $app)
sleep "$secs"
b1=$(cpu_ns $bare); a1=$(cpu_ns $app)
bare_cpu=$(percent "$b0" "$b1"); app_cpu=$(percent "$a0" "$a1")
echo "idle_cpu_percent window=$app_cpu bare=$bare_cpu over ${secs}s (ratio $(awk -v a="$app_cpu" -v b="$bare_cpu" 'BEGIN {printf "%.2f", (b > 0) ? a / b : 0}'))"
echo "window_rss_kb=$rss"
for _ in 1 2 3; do "$build/bench/window_start"; done
