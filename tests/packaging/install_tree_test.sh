#!/usr/bin/env bash
# `cmake --install` into a scratch prefix: every file a desktop expects is
# there, the installed desktop entry and listing validate, the entry's command
# and icon exist, and `appstreamcli compose` lists the program with its icons.
#   install_tree_test.sh BUILD_DIR APPSTREAM_ID
set -euo pipefail
build=$1 id=$2
for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "$tool missing: run tools/install-deps.sh" >&2; exit 1; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root prefix=$scratch/root/usr
cmake --install "$build" --prefix "$prefix" >/dev/null

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for f in bin/cubrix libexec/cubrix/cubrix libexec/cubrix/workbook-path; do
    [ -x "$prefix/$f" ] || fail "$f is not an installed program"
done
for f in share/applications/cubrix.desktop "share/metainfo/$id.metainfo.xml" \
    "share/cubrix/Tarnel账单.xls" share/man/man1/cubrix.1.gz share/doc/cubrix/copyright \
    share/doc/cubrix/changelog.gz share/icons/hicolor/scalable/apps/cubrix.svg; do
    [ -s "$prefix/$f" ] || fail "$f missing or empty"
done
for size in 16 32 48 64 128 256; do
    [ -s "$prefix/share/icons/hicolor/${size}x${size}/apps/cubrix.png" ] || fail "no ${size} px icon"
done
gzip -t "$prefix/share/man/man1/cubrix.1.gz" "$prefix/share/doc/cubrix/changelog.gz" ||
    fail "a compressed document is damaged"

entry=$prefix/share/applications/cubrix.desktop
report=$(desktop-file-validate "$entry" 2>&1) || true
[ -z "$report" ] || fail "installed desktop entry: $report"
command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ -x "$prefix/bin/$command" ] || fail "the entry's command '$command' is not in bin/"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -s "$prefix/share/icons/hicolor/64x64/apps/$icon.png" ] || fail "the entry's icon '$icon' is not installed"

appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "installed listing does not validate"

# compose reads <root>/usr; the software centre shows the cached icons.
out=$scratch/compose
appstreamcli compose --no-net --origin=cubrix --result-root="$out" "$root" >"$scratch/compose.log" 2>&1 ||
    fail "compose failed: $(cat "$scratch/compose.log")"
catalog=$out/usr/share/swcatalog/xml/cubrix.xml.gz
if [ -s "$catalog" ]; then
    zcat "$catalog" | grep -q "<id>$id</id>" || fail "compose left the program out of the catalogue"
    for size in 64 128; do
        [ -s "$out/usr/share/swcatalog/icons/cubrix/${size}x${size}/$id.png" ] ||
            fail "compose made no ${size} px icon"
    done
else
    fail "compose wrote no catalogue: $(cat "$scratch/compose.log")"
fi

[ "$failures" -eq 0 ] || exit 1
echo "install tree complete"
