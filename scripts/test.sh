#!/usr/bin/env bash
# Builds the project and runs every test under ctest. SANITIZE=ON builds
# with AddressSanitizer and UndefinedBehaviorSanitizer in BUILD_DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DNAVTOOLS_WERROR="${NAVTOOLS_WERROR:-OFF}" -DSANITIZE="${SANITIZE:-OFF}"
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
