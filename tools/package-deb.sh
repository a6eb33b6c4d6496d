#!/usr/bin/env bash
# Builds the calculator and makes the Debian package
# dist/cubrix_<version>_amd64.deb, then shows what lintian says of it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"${CUBRIX_JOBS:-2}" --target cubrix workbook-path cubrix_install_docs
cpack --config build/CPackConfig.cmake -B build/cpack >/dev/null

mkdir -p dist
for deb in build/cpack/cubrix_*_amd64.deb; do
    mv -f "$deb" dist/
    echo "dist/$(basename "$deb")"
    lintian "dist/$(basename "$deb")" 2>&1 | grep -v 'root privileges' || true
done
