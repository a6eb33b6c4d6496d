#!/usr/bin/env bash
# The .deb as a user gets it: lintian finds no error, the dependencies are
# declared and met here, and the program, unpacked into a scratch root and
# started by its menu entry's command, shows its window and finds the bill
# workbook template where it looks for the workbook, without ever replacing a
# workbook that is already there. Calc is only recommended: without it, the
# export's failure offers 直接打印, the bill drawn by the program.
#   deb_test.sh BUILD_DIR VERSION TEMPLATE
set -euo pipefail
build=$1 version=$2 template=$3
if [ -z "${DISPLAY:-}" ]; then
    exec "$(dirname "$0")/../../tools/xvfb.sh" bash "$0" "$@"
fi
for tool in cpack lintian dpkg-deb dpkg-checkbuilddeps readelf xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool missing: run tools/install-deps.sh" >&2; exit 1; }
done
scratch=$(mktemp -d)
started=()
cleanup() {
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$scratch"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cpack --config "$build/CPackConfig.cmake" -B "$scratch/cpack" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; exit 1; }
deb=$scratch/cpack/cubrix_${version}_amd64.deb
[ -s "$deb" ] || { echo "FAIL: no $(basename "$deb")" >&2; exit 1; }

# Warnings are shown for the record; only errors fail.
lintian --fail-on error "$deb" 2>&1 | grep -v 'root privileges' || true
[ "${PIPESTATUS[0]}" -eq 0 ] || fail "lintian reports errors"

depends=$(dpkg-deb -f "$deb" Depends)
for wanted in qt6-translations-l10n qt6-qpa-plugins \
    fonts-arphic-uming libqt6widgets6 libuno-cppu3 libqpdf29; do
    [[ ", $depends," == *", $wanted"[,\ ]* ]] || fail "Depends lacks '$wanted': $depends"
done
# The bill prints without Calc: only recommended.
[[ ", $depends," != *", libreoffice-calc"[,\ ]* ]] || fail "Depends holds libreoffice-calc: $depends"
[ "$(dpkg-deb -f "$deb" Recommends)" = libreoffice-calc ] ||
    fail "Recommends is '$(dpkg-deb -f "$deb" Recommends)', not libreoffice-calc"
dpkg-checkbuilddeps -d "$depends" /dev/null || fail "the package's dependencies are not met here"

root=$scratch/root
dpkg-deb -x "$deb" "$root"
program=$root/usr/libexec/cubrix/cubrix
runpath=$(readelf -d "$program" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
[ "$runpath" = /usr/lib/libreoffice/program ] || fail "program RUNPATH is '$runpath'"

export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config
export XDG_RUNTIME_DIR=$scratch/runtime
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
workbook=$HOME/Documents/Tarnel账单.xls
command=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/cubrix.desktop")

# Starts the menu command with the unpacked bin/ first on the path; then
# waits for the window of the last one started and prints its id.
launch() {
    PATH="$root/usr/bin:$PATH" $command >"$scratch/run.log" 2>&1 &
    started+=("$!")
}
window_of_last() {
    timeout 60 xdotool search --sync --onlyvisible --pid "${started[-1]}" | head -1
}
stop_last() {
    kill "${started[-1]}" && wait "${started[-1]}" 2>/dev/null || true
}

launch
window=$(window_of_last) || true
if [ -n "$window" ]; then
    title=$(xdotool getwindowname "$window")
    [ "$title" = Cubrix ] || fail "window title is '$title'"
    xdotool search --classname '^cubrix$' | grep -qx "$window" ||
        fail "window class does not match the entry's StartupWMClass"
else
    fail "no window within 20 s: $(cat "$scratch/run.log")"
fi
stop_last
cmp -s "$template" "$workbook" || fail "the template was not put at $workbook"

# A workbook of the operator's own stays as it is.
echo "operator's own workbook" >"$workbook"
launch
window=$(window_of_last) || true
[ -n "$window" ] || fail "no window on the second start: $(cat "$scratch/run.log")"
stop_last
[ "$(cat "$workbook")" = "operator's own workbook" ] || fail "an existing workbook was replaced"

# Without Calc, as on a system where only the package's dependencies were
# installed: the office's program folder holds just the UNO libraries that
# the program links (their packages' files), nothing of Calc. 导出表格 cannot
# start an office, and its message offers 直接打印, which opens the preview.
office=/usr/lib/libreoffice/program
if unshare -m true 2>/dev/null; then
    kept=$scratch/office
    mkdir -p "$kept"
    ldd "$program" | awk -v dir="$office/" 'index($3, dir) == 1 { print $3 }' | xargs -r dpkg -S |
        cut -d: -f1 | sort -u | xargs -r dpkg -L | grep "^$office/" |
        while read -r file; do [ ! -f "$file" ] || cp -a "$file" "$kept/"; done
    [ ! -e "$kept/soffice" ] || fail "soffice among the linked libraries' packages"
    PATH="$root/usr/bin:$PATH" unshare -m sh -c 'mount --bind "$1" "$2" && shift 2 && exec "$@"' \
        - "$kept" "$office" $command >"$scratch/run.log" 2>&1 &
    started+=("$!")
    window=$(window_of_last) || true
    if [ -n "$window" ]; then
        # The button's place, from the program's own tables (tools/facts.sh
        # reads the source tree as $root).
        read -r x y <<<"$(root=$(cd "$(dirname "$0")/../.." && pwd) CUBRIX_BUILD=$build
                          source "$root/tools/facts.sh" && centre Command4)"
        shown_windows() { xdotool search --onlyvisible --pid "${started[-1]}" 2>/dev/null | wc -l; }
        message_up() {  # a message box over the window
            for _ in $(seq 100); do [ "$(shown_windows)" -ge 2 ] && break; sleep 0.2; done
            sleep 0.5
            [ "$(shown_windows)" -ge 2 ]
        }
        # Qt copies a message's text only on Windows: the boxes are told
        # apart by what their buttons do.
        xdotool mousemove --window "$window" "$x" "$y" click 1
        message_up || fail "without Calc: no print reminder"
        xdotool key Return
        for _ in $(seq 50); do [ "$(shown_windows)" -eq 1 ] && break; sleep 0.2; done
        message_up || fail "without Calc: no failure message"
        # 直接打印 is the button after the default 确定.
        xdotool key Tab space
        preview=""
        for _ in $(seq 50); do
            preview=$(xdotool search --all --onlyvisible --pid "${started[-1]}" --name '^打印预览' 2>/dev/null) &&
                break
            sleep 0.2
        done
        [ -n "$preview" ] || fail "without Calc, 直接打印 opened no print preview"
    else
        fail "no window without Calc: $(cat "$scratch/run.log")"
    fi
    stop_last
else
    echo "not checked without Calc: no mount namespace here (needs root)"
fi

[ "$failures" -eq 0 ] || exit 1
echo "package $(basename "$deb") installs and starts"
