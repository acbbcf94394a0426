#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Cross-builds the project for each of ARCHS (default: aarch64 s390x armhf)
# in build-cross-ARCH with Debian's cross g++, and runs the whole test suite
# there under qemu-user. Prints the build and test time per target.
set -euo pipefail
cd "$(dirname "$0")/.."
archs=${ARCHS:-aarch64 s390x armhf}
# Differential tests take a small sample under emulation.
export NAVTOOLS_DIFF_OPERANDS=200000
status=0
for arch in $archs; do
  build=build-cross-$arch
  start=$SECONDS
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-$arch.cmake" \
    -DNAVTOOLS_WERROR="${NAVTOOLS_WERROR:-ON}" >/dev/null
  cmake --build "$build" -j"$(nproc)" >/dev/null
  built=$SECONDS
  ctest --test-dir "$build" --output-on-failure -j"$(nproc)" || status=1
  echo "--- $arch: build $((built - start)) s, ctest $((SECONDS - built)) s"
done
exit $status
