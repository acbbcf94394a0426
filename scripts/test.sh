#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the project and runs every test under ctest. SANITIZE=ON builds
# with AddressSanitizer and UndefinedBehaviorSanitizer in BUILD_DIR.
# Installs the Debian packages it needs when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/need_packages.sh
need_packages g++ cmake make libgtest-dev groff fuse3 libfuse3-dev pkg-config strace
need_packages zlib1g-dev liblzma-dev libzstd-dev libbz2-dev xz-utils bzip2 zstd
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DNAVTOOLS_WERROR="${NAVTOOLS_WERROR:-OFF}" -DSANITIZE="${SANITIZE:-OFF}"
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
