#!/usr/bin/env bash
# Runs the Windows setup program under Wine on a private X server, on a
# machine without a drive D:, clicks through its pages with the keyboard as
# an operator would (下一步, 我接受, 安装) and writes a picture of the last
# page, which says where the bill workbook template was put.
#   tools/setup-screenshot.sh [OUTPUT.png [SETUP.exe]]
#     defaults docs/screenshot-setup.png and dist/cubrix-setup-x64.exe
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/screenshot-setup.png}")
setup=$(realpath "${2:-$root/dist/cubrix-setup-x64.exe}")

if [ -z "${CUBRIX_IN_XVFB:-}" ]; then
    exec env CUBRIX_IN_XVFB=1 timeout --kill-after=10 300 \
        "$root/tools/xvfb.sh" -s "-screen 0 1024x768x24" bash "$0" "$out" "$setup"
fi

source "$root/tools/windows/wine-prefix.sh"
rm -f "$WINEPREFIX/dosdevices/d:"
# The pages ask for 宋体 (SimSun), which Wine lacks: AR PL UMing stands in.
for face in SimSun 宋体; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d 'AR PL UMing CN' /f >/dev/null 2>&1
done

wine "$setup" &
wait_for() {  # TITLE
    local wid
    for _ in $(seq 120); do
        wid=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) && [ -n "$wid" ] &&
            { echo "$wid"; return; }
        sleep 0.5
    done
    echo "no window '$1'" >&2
    exit 1
}
wid=$(wait_for '^Cubrix 安装$')
sleep 2
# Welcome, licence, folder: each page's default button moves on; the files
# then install by themselves and the last page follows.
for _ in 1 2 3; do
    xdotool windowfocus --sync "$wid" key Return
    sleep 2
done
sleep 8
mkdir -p "$(dirname "$out")"
import -window "$wid" "$out"
echo "wrote $out"
