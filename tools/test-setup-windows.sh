#!/usr/bin/env bash
# Installs the Windows setup program under Wine, in a private prefix with a
# drive D:, as whoever sets up a yard's machine would, and checks each step:
#   0. on Windows 7: refused with one sentence naming the Windows needed,
#      nothing installed; everything after runs on Windows 10;
#   1. a silent install: the zip's files and the uninstaller, nothing more;
#      both shortcuts; the uninstall entry; the workbook template on D:; the
#      resources of cubrix.exe; the smoke test run against the installed
#      folder from the Start-menu shortcut's target;
#   2. a setup while the program runs: refused before it touches anything;
#   3. a second install over the first, with a changed program file and the
#      operator's own workbook on D:: the file is mended, the workbook left
#      byte for byte and time stamp as it was;
#   4. an install without a drive D:: it completes, the template stays in the
#      program folder;
#   5. the silent uninstall: folder, shortcuts and entry gone, the workbook
#      on D: untouched.
#   tools/test-setup-windows.sh [SETUP.exe [ZIP]]
#     defaults dist/cubrix-setup-x64.exe and dist/cubrix-windows-x64.zip,
#     the zip whose files the setup must install
# Ends with "N passed, N failed"; exits non-zero when a check failed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
setup=$(realpath "${1:-$root/dist/cubrix-setup-x64.exe}")
zip=$(realpath "${2:-$root/dist/cubrix-windows-x64.zip}")
template=$root/assets/workbook/Tarnel账单.xls

# The running program needs a display: a private X server.
if [ -z "${CUBRIX_SETUP_IN_XVFB:-}" ]; then
    exec env CUBRIX_SETUP_IN_XVFB=1 timeout --kill-after=10 600 \
        "$root/tools/xvfb.sh" bash "$0" "$setup" "$zip"
fi
started=$(date +%s)

source "$root/tools/windows/wine-prefix.sh"
drive_d=$home/d
mkdir -p "$drive_d"
with_drive_d() { ln -sfn "$drive_d" "$WINEPREFIX/dosdevices/d:"; }
with_drive_d

folder='C:\Program Files\Cubrix'
app=$WINEPREFIX/drive_c/Program\ Files/Cubrix
shortcut='Cubrix 木材计算器.lnk'
start_menu=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/$shortcut
desktop=$WINEPREFIX/drive_c/users/Public/Desktop/$shortcut
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Cubrix'
workbook=$drive_d/Tarnel账单.xls
expected=$home/zip
python3 -m zipfile -e "$zip" "$expected"

source "$root/tools/windows/check.sh"
yes_if() { "$@" >/dev/null 2>&1 && echo yes || echo no; }
# The install runs the setup to its end; wineserver -w then waits until the
# prefix is idle, so the registry and the files are on disk.
install() {  # ARGS...
    local status=0
    wine "$setup" /S "$@" || status=$?
    wineserver -w
    echo "$status"
}
# Files below the program folder, and below the unpacked zip, one a line.
listing() { (cd "$1" && find . -type f | LC_ALL=C sort); }
# One value of the uninstall entry, as reg export writes it.
entry() {  # NAME
    wine reg export "$key" "$home/entry.reg" /y >/dev/null 2>&1 || return 0
    iconv -f UTF-16 -t UTF-8 "$home/entry.reg" | tr -d '\r' | sed -n "s/^\"$1\"=//p"
}
lnk() {  # FILE KEY
    python3 "$root/tools/windows/read-lnk.py" "$1" | sed -n "s/^$2=//p"
}

# 0. On Windows 7 the setup refuses, says in one sentence which Windows the
# program needs, and installs nothing; the rest runs on Windows 10.
refused_setup() {  # as the operator starts it: the message box's text to FILE, then OK
    local status=0
    # Wine's message box copies nothing; its trace gives the text.
    WINEDEBUG=+msgbox wine "$setup" 2>"$home/msgbox.trace" &
    local pid=$!
    for _ in $(seq 120); do
        xdotool search --onlyvisible --name Cubrix >/dev/null 2>&1 && break
        sleep 0.5
    done
    sleep 1
    xdotool key Return
    wait "$pid" || status=$?
    wineserver -w
    python3 -c 'import re, sys
for line in open(sys.argv[1], errors="replace"):
    m = re.search(r"MSGBOX_OnInit L\"(.*)\"", line)
    if m: print(re.sub(r"\\([0-9a-f]{4})", lambda u: chr(int(u[1], 16)), m[1]))' \
        "$home/msgbox.trace" >"$1"
    echo "$status"
}
wine winecfg /v win7 >/dev/null 2>&1
wineserver -w
check "Windows 7: silent setup refused (exit 3)" 3 "$(
    status=0
    wine "$setup" /S || status=$?
    wineserver -w
    echo "$status"
)"
check "Windows 7: setup refused (exit 3)" 3 "$(refused_setup "$home/refused.txt")"
text=$(cat "$home/refused.txt")
check "Windows 7: the message names the Windows needed" yes \
    "$(grep -q 'Windows 10（1809 版或更新）' <<<"$text" && echo yes || echo no)"
echo "Windows 7: $(grep -F 'Windows 10' <<<"$text" || echo "$text")"
check "Windows 7: nothing installed" no "$(yes_if test -e "$app")"
check "Windows 7: no uninstall entry" no "$(yes_if wine reg query "$key")"
check "Windows 7: no Start-menu shortcut" no "$(yes_if test -e "$start_menu")"
wine winecfg /v win10 >/dev/null 2>&1
wineserver -w

# 1. The first install, silent.
begin=$(date +%s%N)
check "silent install exits 0" 0 "$(install)"
echo "silent install in $((($(date +%s%N) - begin) / 1000000)) ms"
check "installed: the zip's files and uninstall.exe" \
    "$( (listing "$expected"; echo ./uninstall.exe) | LC_ALL=C sort)" "$(listing "$app")"
check "installed files equal the zip's" yes "$(yes_if diff -r -x uninstall.exe "$expected" "$app")"
for link in "$start_menu" "$desktop"; do
    where=$(basename "$(dirname "$link")")
    check "$where shortcut: target" "$folder\\cubrix.exe" "$(lnk "$link" target)"
    check "$where shortcut: working folder" "$folder" "$(lnk "$link" working_dir)"
    check "$where shortcut: icon" "$folder\\cubrix.exe 0" "$(lnk "$link" icon) $(lnk "$link" icon_index)"
done
check "entry DisplayName" '"Cubrix 木材计算器"' "$(entry DisplayName)"
check "entry DisplayIcon" '"C:\\Program Files\\Cubrix\\cubrix.exe,0"' "$(entry DisplayIcon)"
check "entry DisplayVersion" '"2.0"' "$(entry DisplayVersion)"
check "entry Publisher" '"The Cubrix developers"' "$(entry Publisher)"
check "entry UninstallString" '"\"C:\\Program Files\\Cubrix\\uninstall.exe\""' "$(entry UninstallString)"
check "entry QuietUninstallString" '"\"C:\\Program Files\\Cubrix\\uninstall.exe\" /S"' \
    "$(entry QuietUninstallString)"
size_kib=$(du -sk --apparent-size "$app" | cut -f1)
estimated=$(entry EstimatedSize | sed -n 's/^dword://p')
check "entry EstimatedSize within 5 % of the folder's $size_kib KiB" yes \
    "$( [ -n "$estimated" ] && [ $(((16#$estimated - size_kib) * 20 / size_kib)) -eq 0 ] && echo yes || echo no)"
check "template copied to the empty D:" yes "$(yes_if cmp "$template" "$workbook")"

# The program's resources, as Explorer reads them.
exe=$app/cubrix.exe
wrestool -x -t14 "$exe" >"$home/group.ico" 2>/dev/null || true
check "icon group: its sizes" "16 24 32 48 256" \
    "$(icotool -l "$home/group.ico" 2>/dev/null | sed -n 's/.*--width=\([0-9]*\).*/\1/p' | xargs)"
wrestool -x --raw -t16 "$exe" >"$home/version.res" 2>/dev/null || true
version() { python3 "$root/tools/windows/read-version.py" "$home/version.res" | sed -n "s/^$1=//p"; }
check "version: ProductName" Cubrix "$(version ProductName)"
check "version: FileDescription" 木材材积计算器 "$(version FileDescription)"
check "version: FileVersion" 2.0 "$(version FileVersion)"
check "version: LegalCopyright" "$(grep -m1 '^Copyright ' "$root/LICENSE"), $(head -n1 "$root/LICENSE")" \
    "$(version LegalCopyright)"
manifest=$(wrestool -x --raw -t24 "$exe" 2>/dev/null || true)
for want in '>PerMonitorV2<' 'level="asInvoker"' '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}'; do
    check "manifest: $want" yes "$(grep -qF -- "$want" <<<"$manifest" && echo yes || echo no)"
done

# The program as the Start menu starts it: the folder of the shortcut's
# target, in this prefix, through the smoke test's window checks.
target=$(winepath -u "$(lnk "$start_menu" target)" 2>/dev/null)
smoke=0
CUBRIX_SMOKE_PREFIX=$WINEPREFIX CUBRIX_SMOKE_PRINTS=0 bash "$root/tools/smoke-windows.sh" "$(dirname "$target")" || smoke=$?
check "smoke test of the installed program" 0 "$smoke"
with_drive_d

# 2. With the program running, the setup refuses and installs nothing.
# The setup ends by itself; the prefix stays busy with the program.
wine "$folder\\cubrix.exe" &
program=$!
for _ in $(seq 120); do
    xdotool search --onlyvisible --name '^Cubrix$' >/dev/null 2>&1 && break
    sleep 0.5
done
echo damaged >"$app/qt.conf"
status=0
wine "$setup" /S || status=$?
check "setup while the program runs: refused (exit 2)" 2 "$status"
check "setup while the program runs: nothing replaced" damaged "$(cat "$app/qt.conf")"
wine taskkill /f /im cubrix.exe >/dev/null 2>&1 || true
for _ in $(seq 40); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.25
done
check "program ended for the next install" no "$(yes_if kill -0 "$program")"

# 3. Over the first install: the operator's workbook, with a changed cell
# (合计 reads 标记), and a program file damaged since.
python3 - "$template" "$workbook" <<'EOF'
import sys
data = open(sys.argv[1], "rb").read()
old, new = "合计".encode("utf-16-le"), "标记".encode("utf-16-le")
assert data.count(old) == 1
open(sys.argv[2], "wb").write(data.replace(old, new))
EOF
touch -d '2026-01-02 03:04:05' "$workbook"
cp "$workbook" "$home/workbook.before"
check "install over the first exits 0" 0 "$(install)"
check "over the first: program file replaced" yes "$(yes_if cmp "$expected/qt.conf" "$app/qt.conf")"
check "over the first: workbook on D: byte for byte" yes "$(yes_if cmp "$home/workbook.before" "$workbook")"
check "over the first: workbook's time stamp" "2026-01-02 03:04:05" \
    "$(date -r "$workbook" '+%Y-%m-%d %H:%M:%S')"

# 4. No drive D:: the template is in the program folder and nowhere else.
rm "$WINEPREFIX/dosdevices/d:" "$app/Tarnel账单.xls"
check "install without D: exits 0" 0 "$(install)"
check "without D:: template in the program folder" yes "$(yes_if cmp "$template" "$app/Tarnel账单.xls")"
with_drive_d

# 5. The silent uninstall, as the entry gives it. The uninstaller runs from a
# copy of itself, so the wait is for the prefix to go idle.
check "silent uninstall exits 0" 0 "$(
    status=0
    wine "$folder\\uninstall.exe" /S || status=$?
    wineserver -w
    echo "$status"
)"
check "uninstalled: program folder gone" no "$(yes_if test -e "$app")"
check "uninstalled: Start-menu shortcut gone" no "$(yes_if test -e "$start_menu")"
check "uninstalled: desktop shortcut gone" no "$(yes_if test -e "$desktop")"
check "uninstalled: entry gone" no "$(yes_if wine reg query "$key")"
check "uninstalled: workbook on D: byte for byte" yes "$(yes_if cmp "$home/workbook.before" "$workbook")"

echo "setup size $(stat -c %s "$setup") bytes; setup test in $(($(date +%s) - started)) s"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
