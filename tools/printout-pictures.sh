#!/usr/bin/env bash
# Renders the worked example as the program itself draws it (the PDF that
# 保存为 PDF… writes), for the README: docs/printout-a4.png and
# docs/printout-241x140.png (二等分) and docs/printout-241x93.png (三等分) at 96 dpi.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target printout_probe
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for paper in a4:printout-a4 241-2:printout-241x140 241-3:printout-241x93; do
    QT_QPA_PLATFORM=offscreen build/tests/printout/printout_probe \
        --pdf "$scratch/page.pdf" --paper "${paper%%:*}"
    pdftoppm -png -r 96 -singlefile "$scratch/page.pdf" "$scratch/page"
    mv "$scratch/page.png" "docs/${paper#*:}.png"
    echo "docs/${paper#*:}.png"
done
