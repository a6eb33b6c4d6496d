#!/usr/bin/env bash
# Cross-builds the program for 64-bit Windows with MinGW-w64 and runs the
# Windows tests under Wine in a private, throw-away prefix. GoogleTest is
# built for Windows from Debian's sources (libgtest-dev) first. Then the
# whole program with its Qt (tools/build-windows.sh, which builds that Qt on
# first use) and the Wine smoke test of the packed zip (tools/smoke-windows.sh).
# Each part ends with "N passed, N failed"; exits non-zero when one failed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${CUBRIX_JOBS:-2}
toolchain=$root/cmake/mingw-w64-x86_64.cmake
gtest_build=build-win-gtest
build=build-win

bash tools/install-deps.sh

if [ ! -f "$gtest_build/prefix/lib/cmake/GTest/GTestConfig.cmake" ]; then
    cmake -S /usr/src/googletest -B "$gtest_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$root/$gtest_build/prefix" \
        -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON >/dev/null
    cmake --build "$gtest_build" -j"$jobs"
    cmake --install "$gtest_build" >/dev/null
fi

# Wine: its own prefix (created on first use, ~10 s), no debug chatter, no
# offers to install Mono or Gecko, and no display needed for console programs.
wine_home=$(mktemp -d)
cleanup() {
    WINEPREFIX=$wine_home/prefix wineserver -k 2>/dev/null || true
    rm -rf "$wine_home"
}
trap cleanup EXIT
export WINEPREFIX=$wine_home/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=d"
wine wineboot --init >/dev/null 2>&1

# Test discovery runs the test programs at build time, so the emulator is Wine.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DBUILD_TESTING=ON -DCUBRIX_GUI=OFF -DCUBRIX_LIBREOFFICE=OFF -DCUBRIX_BENCH=OFF -DCUBRIX_EXCEL=ON \
    -DGTest_DIR="$root/$gtest_build/prefix/lib/cmake/GTest" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v wine)" >/dev/null
cmake --build "$build" -j"$jobs"

# The probe's golden test runs the program directly, not through the emulator.
log=$build/windows-tests.log
set +e
ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 300 \
    -E '^sheet_probe_golden$' >"$log" 2>&1
status=$?
set -e
cat "$log"
passed=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed' "$log" || true)
# ctest marks every outcome but a pass with "***" (Failed, Exception, Timeout)
# or "Not Run"; a test's own name may hold those words.
failed=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*(\*\*\*|Not Run)' "$log" || true)
if [ "$status" -ne 0 ] && [ "$failed" -eq 0 ]; then failed=1; fi
echo "$passed passed, $failed failed"

bash tools/build-windows.sh
smoke=0
bash tools/smoke-windows.sh dist/cubrix-windows-x64.zip || smoke=$?
setup=0
bash tools/test-setup-windows.sh dist/cubrix-setup-x64.exe dist/cubrix-windows-x64.zip || setup=$?
[ "$status" -eq 0 ] && [ "$smoke" -eq 0 ] && [ "$setup" -eq 0 ]
