#!/usr/bin/env bash
# Starts the window under a private X server, keys in a bill with xdotool,
# and writes a PNG screenshot of the window.
#   tools/screenshot.sh [OUTPUT.png [BILL [SCALE]]]
#     OUTPUT.png  default docs/screenshot.png
#     BILL        a case of tests/probe/cases: worked (worked_example, the
#                 four-line example), yard (default: a real yard's two lines of
#                 full-sized planks) or largest (the longest figures a bill is
#                 meant to carry: amount 9999999.99, total 99999999.9999)
#     SCALE       the screen scale factor, default 1
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/screenshot.png}
bill=${2:-yard}
scale=${3:-1}
bin=${CUBRIX_BIN:-$root/build/app/cubrix}
mkdir -p "$(dirname "$out")"
[ "$bill" != worked ] || bill=worked_example
[ -f "$root/tests/probe/cases/$bill.in" ] || { echo "unknown bill: $bill" >&2; exit 2; }

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

# Each line of the bill from its length on, Tab between its inputs.
source "$root/tools/facts.sh"
xdotool windowfocus --sync "$wid" 2>/dev/null || true
while IFS=$'\037' read -ra values; do
    read -r x y <<<"$(centre "Text1(${values[0]})")"
    xdotool mousemove --window "$wid" "$(awk "BEGIN{print int($x*$scale)}")" "$(awk "BEGIN{print int($y*$scale)}")" click 1
    for i in "${!values[@]}"; do
        if [ "$i" -ge 2 ]; then xdotool key Tab; fi
        if [ "$i" -ge 1 ] && [ -n "${values[$i]}" ]; then xdotool type --delay 5 "${values[$i]}"; fi
    done
done < <(case_rows "$bill.in")
sleep 0.3
import -window "$wid" "$out"
echo "wrote $out"
