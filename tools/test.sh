#!/usr/bin/env bash
# Builds everything and runs every test: the whole suite (window tests under a
# private X server), then the bill and export logic under AddressSanitizer
# and UndefinedBehaviorSanitizer with a short fuzzing run, then the Windows
# backend cross-built and run under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${CUBRIX_JOBS:-2}

bash tools/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON
cmake --build build -j"$jobs"
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir build --output-on-failure -j"$jobs" --timeout 300

cmake -S . -B build-sanitize -G Ninja -DBUILD_TESTING=ON -DCUBRIX_LOGIC_ONLY=ON -DCUBRIX_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake --build build-sanitize -j"$jobs"
ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

# The Windows backend, cross-compiled and run under Wine.
if [ -f tools/test-windows.sh ]; then
    bash tools/test-windows.sh
fi
