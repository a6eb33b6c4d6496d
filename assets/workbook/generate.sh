#!/usr/bin/env bash
# Makes Tarnel账单.xls from bill-template.fods with a headless LibreOffice of
# its own (private profile, so an office the user has open is not disturbed).
# Optional: --preview FILE.png also renders the sheet for a look.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
soffice=${SOFFICE:-soffice}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8  # the office reads Chinese names only under UTF-8

convert() {  # convert <target filter> <input> <output folder>
    "$soffice" --headless --invisible --norestore --nolockcheck \
        "-env:UserInstallation=file://$work/profile" \
        --convert-to "$1" --outdir "$3" "$2" >/dev/null
}

convert "xls:MS Excel 97" "$here/bill-template.fods" "$work"
mv "$work/bill-template.xls" "$here/Tarnel账单.xls"
echo "wrote $here/Tarnel账单.xls"

if [ "${1:-}" = "--preview" ]; then
    cp "$here/Tarnel账单.xls" "$work/preview.xls"
    convert pdf "$work/preview.xls" "$work"
    png=${2:?--preview needs a .png path}
    pdftoppm -png -r 80 -singlefile "$work/preview.pdf" "${png%.png}"
    echo "wrote $png"
fi
