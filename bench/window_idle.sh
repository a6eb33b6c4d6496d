#!/usr/bin/env bash
# The window's idle load with the worked example keyed in, against a bare Qt
# window running the same empty 10 ms timer, and against the same bare window
# holding one focused text box (the blinking caret that any data-entry window
# has). The window's caret stops blinking 10 s after the last key, so the
# load is measured twice: while the caret still blinks, and once it rests.
# The three run at the same time, each on its own Xvfb so that each has the
# keyboard focus, and measure their spells at the same moments. Then start-up time to the first painted frame and
# resident memory.
#   bench/window_idle.sh [SECONDS [ROUNDS]]   (resting spell 10 s, 3 rounds)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
secs=${1:-10}
rounds=${2:-3}
build=${CUBRIX_BUILD:-$root/build}
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
out=$(mktemp -d)

# One program on its own X server: focus it, key the bill in (cubrix only),
# then report its CPU time, round by round, in percent of one core.
if [ -n "${CUBRIX_IDLE_ROLE:-}" ]; then
    shift 2
    "$@" & pid=$!
    trap 'kill $pid 2>/dev/null || true' EXIT
    for _ in $(seq 50); do
        wid=$(xdotool search --onlyvisible --pid "$pid" --name "$CUBRIX_IDLE_NAME" 2>/dev/null | head -n 1) && [ -n "$wid" ] && break
        sleep 0.1
    done
    source "$root/tools/facts.sh"
    xdotool windowfocus --sync "$wid" 2>/dev/null || true
    xdotool mousemove --window "$wid" $(centre "Text1(0)") click 1
    if [ "$CUBRIX_IDLE_ROLE" = window ]; then
        # The worked example, its lines one after the other, Tab after each input.
        while IFS=$'\037' read -ra values; do
            for v in "${values[@]:1}"; do xdotool type --delay 5 "$v"; xdotool key Tab; done
        done < <(case_rows worked_example.in)
        awk '/VmRSS/ {print $2}' "/proc/$pid/status" > "$CUBRIX_IDLE_OUT.rss"
    fi
    # The three measure their rounds at the same moments.
    touch "$CUBRIX_IDLE_OUT.ready"
    while [ ! -e "$CUBRIX_IDLE_GO" ]; do sleep 0.05; done
    # Each round: a Shift press (which wakes a resting caret and changes no
    # text), then a spell from 1 s to 9 s after it while the caret blinks, and
    # one of $secs seconds from 11 s on, once it rests. The bare window's
    # caret never rests.
    cpu() { awk '{print $1}' "/proc/$pid/schedstat"; }  # time on a CPU, ns
    percent() { awk -v b="$1" -v a="$2" -v s="$3" 'BEGIN {printf "%.3f", 100 * (a - b) / 1e9 / s}'; }
    : > "$CUBRIX_IDLE_OUT.rounds"
    for _ in $(seq "$rounds"); do
        xdotool key shift
        sleep 1
        t0=$(cpu)
        sleep 8
        t1=$(cpu)
        sleep 2
        t2=$(cpu)
        sleep "$secs"
        t3=$(cpu)
        echo "$(percent "$t0" "$t1" 8) $(percent "$t2" "$t3" "$secs")" >> "$CUBRIX_IDLE_OUT.rounds"
    done
    mv "$CUBRIX_IDLE_OUT.rounds" "$CUBRIX_IDLE_OUT"
    exit 0
fi

run() {  # role name out program...
    local role=$1 name=$2 file=$3
    shift 3
    CUBRIX_IDLE_ROLE=$role CUBRIX_IDLE_NAME=$name CUBRIX_IDLE_OUT=$file CUBRIX_IDLE_GO=$out/go \
        xvfb-run -a -s "-screen 0 800x600x24" "$0" "$secs" "$rounds" "$@" &
}
run bare bare "$out/bare" "$build/bench/bare_timer_window"
sleep 0.5
run boxed bare "$out/boxed" "$build/bench/bare_timer_window" --text-box
sleep 0.5
run window Cubrix "$out/window" "$build/app/cubrix"
for _ in $(seq 600); do
    [ -e "$out/bare.ready" ] && [ -e "$out/boxed.ready" ] && [ -e "$out/window.ready" ] && break
    sleep 0.1
done
touch "$out/go"
wait

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", (b > 0) ? a / b : 0}'; }
mean() { awk -v c="$2" '{ s += $c } END { printf "%.3f", s / NR }' "$1"; }
report() {  # column label
    local c=$1 label=$2 r w b x
    for r in $(seq "$rounds"); do
        w=$(sed -n "${r}p" "$out/window" | cut -d' ' -f"$c")
        b=$(sed -n "${r}p" "$out/bare" | cut -d' ' -f"$c")
        echo "  round $r, $label: window=$w bare=$b (ratio $(ratio "$w" "$b"))"
    done
    w=$(mean "$out/window" "$c"); b=$(mean "$out/bare" "$c"); x=$(mean "$out/boxed" "$c")
    echo "idle_cpu_percent, $label, mean of $rounds: window=$w bare=$b (ratio $(ratio "$w" "$b")) bare_with_text_box=$x (ratio $(ratio "$w" "$x"))"
}
report 1 "caret blinking, 8 s"
report 2 "caret resting, ${secs} s"
echo "window_rss_kb=$(cat "$out/window.rss")"
for _ in 1 2 3; do xvfb-run -a "$build/bench/window_start"; done
