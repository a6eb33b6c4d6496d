#!/usr/bin/env bash
# The window's start and the preview's first showing with many printers:
# 20 queues in a cupsd of its own, 10 of them at a device that never answers
# (a closed port on this machine; never another address), the default among
# those; against no CUPS at all (CUPS_SERVER at a socket nobody serves).
# Prints, per case, the window's first paint (bench/window_start, median of 7
# starts) and Ctrl+P until the preview's page shows (bench/printout_bench).
#   bench/printer_queues.sh [BUILD_DIR]      (root: the private cupsd)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
inside=""
if [ "${1:-}" = --inside ]; then inside=1; shift; fi
build=$(realpath "${1:-$root/build}")
if [ -z "${DISPLAY:-}" ]; then exec "$root/tools/xvfb.sh" bash "$0" "$build"; fi
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"

measure() {  # CASE
    local starts
    starts=$(for _ in 1 2 3 4 5 6 7; do "$build/bench/window_start"; done |
        sed -n 's/first_paint_ms=\([0-9.]*\).*/\1/p' | sort -n | sed -n 4p)
    echo "$1: window first paint ${starts} ms (median of 7)"
    "$build/bench/printout_bench" --benchmark_filter='Preview' 2>/dev/null |
        awk -v c="$1" '/^BM_/ { print c ": " $1 " " $2 " " $3 }'
}

if [ -n "$inside" ]; then
    for n in $(seq 10); do
        lpadmin -p "Yard$n" -E -v "file:/dev/null" -m drv:///sample.drv/epson24.ppd 2>/dev/null
        lpadmin -p "Gone$n" -E -v "ipp://127.0.0.1:1/ipp/print" -m drv:///sample.drv/epson24.ppd 2>/dev/null
    done
    lpadmin -d Gone1
    echo "queues: $(lpstat -e | wc -l), default $(lpstat -d | sed 's/.*: //')"
    measure "20 queues"
    exit 0
fi

CUPS_SERVER=/nonexistent/cups.sock measure "no CUPS"
cups_files_extra="FileDevice Yes" "$root/tests/printout/private_cups.sh" bash "$0" --inside "$build"
