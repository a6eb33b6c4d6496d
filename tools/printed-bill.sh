#!/usr/bin/env bash
# Renders the printed page of the worked example, exported through the real
# LibreOffice as the operator's print would: tools/printed-bill.sh [out.png]
# (default docs/printed-bill.png, A4 at 96 dpi).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/printed-bill.png}")
cd "$root"
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target libreoffice_tests
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
CUBRIX_KEEP_PRINTED_PAGE="$scratch/page.pdf" \
    build/tests/libreoffice/libreoffice_tests --gtest_filter='PrintedBill.WorkedExampleOnOnePage'
pdftoppm -png -r 96 -singlefile "$scratch/page.pdf" "$scratch/page"
mv "$scratch/page.png" "$out"
echo "$out"
