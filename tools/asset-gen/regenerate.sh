#!/bin/sh
# Rebuilds asset-gen on its own and redraws every picture in assets/, then
# packs the Windows program icon from the drawn sizes (icotool, icoutils):
# the small ones as bitmaps, 256 px as PNG, as Windows expects.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
cmake -S tools/asset-gen -B build-assets -DCMAKE_BUILD_TYPE=Release
cmake --build build-assets -j2
build-assets/asset-gen assets
icotool -c -o assets/windows/cubrix.ico \
    assets/icon-16.png assets/icon-24.png assets/icon-32.png assets/icon-48.png \
    -r assets/icon-256.png
