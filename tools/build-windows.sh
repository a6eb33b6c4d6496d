#!/usr/bin/env bash
# Cross-builds the whole program for 64-bit Windows with MinGW-w64, the Qt of
# tools/build-qt-mingw.sh and the qpdf of tools/build-qpdf-mingw.sh, and packs
# dist/cubrix-windows-x64.zip: the files of tools/windows/package.txt, nothing
# else. Unpacked anywhere on Windows, cubrix.exe runs as it is; Excel is the
# only thing to install.
# Beside it, dist/cubrix-setup-x64.exe installs the same files
# (assets/windows/cubrix.nsi, made with makensis).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${CUBRIX_JOBS:-2}
build=build-win-app
list=tools/windows/package.txt
zip=dist/cubrix-windows-x64.zip
setup=dist/cubrix-setup-x64.exe
triple=x86_64-w64-mingw32

bash tools/install-deps.sh
# CUBRIX_QT_MINGW names a Qt for MinGW built elsewhere.
qt=${CUBRIX_QT_MINGW:-$(bash tools/build-qt-mingw.sh | tail -n 1)}
# qpdf for the saved PDFs' text, built from Debian's source on first use.
qpdf=${CUBRIX_QPDF_MINGW:-$(bash tools/build-qpdf-mingw.sh | tail -n 1)}

# Qt's toolchain file would chain-load the toolchain file of the tree that
# built Qt; this tree's own is the one to use.
# A build tree made with another Qt is made anew: CMake keeps the toolchain.
if ! grep -qxF "CMAKE_TOOLCHAIN_FILE:FILEPATH=$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    "$build/CMakeCache.txt" 2>/dev/null; then
    rm -rf "$build"
fi
mkdir -p "$build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCUBRIX_LIBREOFFICE=OFF -DCUBRIX_EXCEL=ON -DBUILD_TESTING=OFF -DCUBRIX_BENCH=OFF \
    -DCUBRIX_QPDF_MINGW="$qpdf" \
    >"$build/configure.log" 2>&1 || {
    cat "$build/configure.log" >&2
    exit 1
}
cmake --build "$build" -j"$jobs" --target cubrix

source_of() {  # KIND:PATH -> a file of this machine
    local kind=${1%%:*} path=${1#*:}
    case $kind in
        build) echo "$root/$build/$path" ;;
        qt) echo "$qt/$path" ;;
        mingw) echo "/usr/$triple/lib/$path" ;;
        host) echo "/usr/share/qt6/$path" ;;
        repo | text) echo "$root/$path" ;;
        *) echo "unknown source kind in $list: $1" >&2; return 1 ;;
    esac
}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
while read -r dest from; do
    case $dest in '' | '#'*) continue ;; esac
    file=$(source_of "$from")
    [ -f "$file" ] || { echo "missing for $dest: $file" >&2; exit 1; }
    mkdir -p "$stage/$(dirname "$dest")"
    if [ "${from%%:*}" = text ]; then
        # Notepad on older Windows reads UTF-8 only with a BOM, lines only with CR LF.
        { printf '\xef\xbb\xbf'; sed 's/$/\r/' "$file"; } >"$stage/$dest"
    else
        cp "$file" "$stage/$dest"
    fi
done <"$list"
"$triple-strip" --strip-unneeded "$stage/cubrix.exe"

# Every DLL that a shipped program or DLL imports is shipped or is Windows' own.
shipped=$(cd "$stage" && find . -iname '*.dll' -printf '%f\n' | tr '[:upper:]' '[:lower:]')
system=$(grep -v -E '^\s*(#|$)' tools/windows/system-dlls.txt | tr '[:upper:]' '[:lower:]')
unmet=$(cd "$stage" && find . \( -iname '*.exe' -o -iname '*.dll' \) -exec "$triple-objdump" -p {} + |
    sed -n 's/^\s*DLL Name: //p' | tr '[:upper:]' '[:lower:]' | sort -u |
    grep -vxF -e "$shipped" -e "$system" | grep -v '^api-ms-win-' || true)
if [ -n "$unmet" ]; then
    echo "imported but neither shipped nor part of Windows: $unmet" >&2
    exit 1
fi

# Python's zipfile marks names as UTF-8, so Windows' own unzip shows 使用说明.txt
# rightly; the entries get one fixed time stamp, not the clock.
mkdir -p dist
rm -f "$zip"
python3 - "$stage" "$zip" <<'EOF'
import os, sys, zipfile
stage, out = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for folder, dirs, files in sorted(os.walk(stage)):
        dirs.sort()
        for name in sorted(files):
            path = os.path.join(folder, name)
            info = zipfile.ZipInfo(os.path.relpath(path, stage), (2026, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            with open(path, "rb") as f:
                z.writestr(info, f.read(), compresslevel=9)
EOF
echo "wrote $zip ($(du -h "$zip" | cut -f1), $(python3 -c 'import sys,zipfile; print(len(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip") files)"

# The setup program: the staged files, one folder at a time, and the same
# list again for the uninstaller to remove, deepest folders last.
nsis=$(mktemp -d)
trap 'rm -rf "$stage" "$nsis"' EXIT
(cd "$stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) >"$nsis/files"
windows_path() { tr / '\\' <<<"$1"; }
{
    dir=-
    while read -r file; do
        here=$(dirname "$file")
        if [ "$here" != "$dir" ]; then
            dir=$here
            if [ "$dir" = . ]; then echo 'SetOutPath "$INSTDIR"'; else echo "SetOutPath \"\$INSTDIR\\$(windows_path "$dir")\""; fi
        fi
        echo "File \"$stage/$file\""
    done <"$nsis/files"
} >"$nsis/files.nsh"
{
    while read -r file; do echo "Delete \"\$INSTDIR\\$(windows_path "$file")\""; done <"$nsis/files"
    (cd "$stage" && find . -mindepth 1 -type d | sed 's|^\./||' | LC_ALL=C sort -r) |
        while read -r dir; do echo "RMDir \"\$INSTDIR\\$(windows_path "$dir")\""; done
} >"$nsis/remove.nsh"
# The licence page wraps the text itself: one line a paragraph, CR LF.
awk 'BEGIN { RS = ""; ORS = "\r\n\r\n" } { gsub(/\n/, " "); print }' LICENSE >"$nsis/LICENSE.txt"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
copyright=$(grep -m1 '^Copyright ' LICENSE)
rm -f "$setup"
# makensis needs a UTF-8 locale for the Chinese names (it crashes in plain C).
LC_ALL=C.UTF-8 makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DFILES="$nsis/files.nsh" \
    -DREMOVE="$nsis/remove.nsh" -DLICENSE_TEXT="$nsis/LICENSE.txt" \
    -DCOPYRIGHT="$copyright, $(head -n 1 LICENSE)" \
    -DPUBLISHER="$(sed 's/^Copyright (c) [0-9]* //' <<<"$copyright")" \
    -DOUTFILE="$root/$setup" assets/windows/cubrix.nsi
echo "wrote $setup ($(du -h "$setup" | cut -f1))"
