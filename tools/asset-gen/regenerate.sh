#!/bin/sh
# Rebuilds asset-gen on its own and redraws every picture in assets/.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
cmake -S tools/asset-gen -B build-assets -DCMAKE_BUILD_TYPE=Release
cmake --build build-assets -j2
build-assets/asset-gen assets
