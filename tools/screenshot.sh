#!/usr/bin/env bash
# Starts the window under a private X server, keys in a bill with xdotool,
# and writes a PNG screenshot of the window.
#   tools/screenshot.sh [OUTPUT.png [BILL [SCALE]]]
#     OUTPUT.png  default docs/screenshot.png
#     BILL        worked (the four-line example), yard (default: a real yard's
#                 two lines of full-sized planks) or largest (the longest figures a
#                 bill is meant to carry: amount 9999999.99, total 99999999.9999)
#     SCALE       the screen scale factor, default 1
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/screenshot.png}
bill=${2:-yard}
scale=${3:-1}
bin=${CUBRIX_BIN:-$root/build/app/cubrix}
mkdir -p "$(dirname "$out")"

if [ -z "${CUBRIX_IN_XVFB:-}" ]; then
    CUBRIX_IN_XVFB=1 exec "$(dirname "$0")/xvfb.sh" -s "-screen 0 1600x1200x24" "$0" "$out" "$bill" "$scale"
fi

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
export QT_SCALE_FACTOR=$scale QT_FONT_DPI=96
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
xdotool mousemove --window "$wid" "$(awk "BEGIN{print int(100*$scale)}")" "$(awk "BEGIN{print int(170*$scale)}")" click 1   # into Text1(0)
case $bill in
worked)
    type_line 4.2 150 25 1 1000; xdotool key Tab
    type_line 6 200 50 10 1250; xdotool key Tab
    type_line 1.5 100 1 1 99.9; xdotool key Tab
    type_line 4 150 25 3 ""
    ;;
yard)
    type_line 6 300 100 40 2500; xdotool key Tab
    type_line 5.8 220 60 35 2480
    ;;
largest)
    type_line 1 1000 1000 1 9999999.99; xdotool key Tab
    type_line 99999998.9999 1000 1000 1 ""
    ;;
*) echo "unknown bill: $bill" >&2; exit 2 ;;
esac
sleep 0.3
import -window "$wid" "$out"
echo "wrote $out"
