#!/usr/bin/env bash
# Builds the calculator as Debian builds its packages (the hardening flags of
# dpkg-buildflags, no tests or benchmarks) in build-deb/, makes
# dist/cubrix_<version>_amd64.deb and shows what lintian says of it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/install-deps.sh
# CPack installs the whole build, so this tree holds only what is shipped.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=None \
    -DBUILD_TESTING=OFF -DCUBRIX_BENCH=OFF >/dev/null
cmake --build build-deb -j"${CUBRIX_JOBS:-2}"
rm -rf build-deb/cpack
cpack --config build-deb/CPackConfig.cmake -B build-deb/cpack >/dev/null

mkdir -p dist
for deb in build-deb/cpack/cubrix_*_amd64.deb; do
    mv -f "$deb" dist/
    echo "dist/$(basename "$deb")"
    lintian "dist/$(basename "$deb")" 2>&1 | grep -v 'root privileges' || true
done
