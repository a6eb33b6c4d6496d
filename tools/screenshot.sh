#!/usr/bin/env bash
# Starts the window under a private X server, keys in the worked example with
# xdotool, and writes a PNG screenshot of the window.
#   tools/screenshot.sh [OUTPUT.png]   (default: docs/screenshot.png)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/screenshot.png}
bin=${CUBRIX_BIN:-$root/build/app/cubrix}
mkdir -p "$(dirname "$out")"

if [ -z "${CUBRIX_IN_XVFB:-}" ]; then
    CUBRIX_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$out"
fi

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
export QT_SCALE_FACTOR=1 QT_FONT_DPI=96
"$bin" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    wid=$(xdotool search --onlyvisible --pid "$pid" --name Cubrix 2>/dev/null | head -n 1) && [ -n "$wid" ] && break
    sleep 0.1
done
[ -n "${wid:-}" ] || { echo "the window did not appear" >&2; exit 1; }
sleep 0.3

# The worked example: four lines, Tab between the inputs of a line, Down to the next.
type_line() {  # row values...; starts in Text1(row)
    local first=1
    for v in "$@"; do
        [ $first -eq 1 ] || xdotool key Tab
        first=0
        if [ -n "$v" ]; then xdotool type --delay 5 "$v"; fi
    done
}
xdotool windowfocus --sync "$wid" 2>/dev/null || true
xdotool mousemove --window "$wid" 100 170 click 1   # into Text1(0)
type_line 4.2 150 25 1 1000; xdotool key Tab
type_line 6 200 50 10 1250; xdotool key Tab
type_line 1.5 100 1 1 99.9; xdotool key Tab
type_line 4 150 25 3 ""
sleep 0.3
import -window "$wid" "$out"
echo "wrote $out"
