#!/usr/bin/env bash
# Builds the project and runs every test under ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DNAVTOOLS_WERROR="${NAVTOOLS_WERROR:-OFF}"
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
