#!/usr/bin/env bash
# The .deb as a user gets it: lintian finds no error, the dependencies are
# declared and met here, and the program, unpacked into a scratch root and
# started by its menu entry's command, shows its window and finds the bill
# workbook template where it looks for the workbook, without ever replacing a
# workbook that is already there.
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
for wanted in libreoffice-calc qt6-translations-l10n qt6-qpa-plugins \
    fonts-arphic-uming libqt6widgets6 libuno-cppu3 libqpdf29; do
    [[ ", $depends," == *", $wanted"[,\ ]* ]] || fail "Depends lacks '$wanted': $depends"
done
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

[ "$failures" -eq 0 ] || exit 1
echo "package $(basename "$deb") installs and starts"
