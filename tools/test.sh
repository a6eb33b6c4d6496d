#!/usr/bin/env bash
# Builds everything and runs every test: the whole suite (window tests under a
# private X server), then the bill and export logic under AddressSanitizer
# and UndefinedBehaviorSanitizer with a short fuzzing run, then the Windows
# backend cross-built and run under Wine.
#
# Each part's output is also kept in a folder outside the checkout (so that a
# failed CI run can still be read once its clone is gone), named at the end
# with the tests that failed. A failing part does not stop the others.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${CUBRIX_JOBS:-2}
logs=${CUBRIX_TEST_LOGS:-${XDG_STATE_HOME:-$HOME/.local/state}/cubrix/test-logs/$(date -u +%Y%m%dT%H%M%SZ)-$$}
mkdir -p "$logs"

bash tools/install-deps.sh

failed=()
# part NAME COMMAND...: runs it with its output shown and kept in NAME.log.
part() {
    local name=$1 status
    shift
    set +e
    "$@" 2>&1 | tee "$logs/$name.log"
    status=${PIPESTATUS[0]}
    set -e
    if [ "$status" -ne 0 ]; then failed+=("$name"); fi
}

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON
cmake --build build -j"$jobs"
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
part linux tools/xvfb.sh ctest --test-dir build --output-on-failure -j"$jobs" --timeout 300

cmake -S . -B build-sanitize -G Ninja -DBUILD_TESTING=ON -DCUBRIX_LOGIC_ONLY=ON -DCUBRIX_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake --build build-sanitize -j"$jobs"
part sanitize ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

# The Windows backend, cross-compiled and run under Wine.
if [ -f tools/test-windows.sh ]; then
    part windows bash tools/test-windows.sh
fi

echo "Output of every part: $logs"
if [ "${#failed[@]}" -gt 0 ]; then
    for name in "${failed[@]}"; do
        echo "FAILED: $name; the failing tests' output is in $logs/$name.log"
        grep -E '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*(\*\*\*|Not Run)|^FAIL |^[0-9]+ passed, [0-9]+ failed' \
            "$logs/$name.log" || true
    done
    exit 1
fi
