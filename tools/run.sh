#!/usr/bin/env bash
# Builds the calculator and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"${CUBRIX_JOBS:-2}" --target cubrix
exec build/app/cubrix "$@"
