#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Shows that every line of the programs runs when they run: builds them with
# --coverage in BUILD_DIR (default build-coverage), runs the command-line
# tests and navdump on the hard cases (the unit tests, which call the code
# directly, are left out), and fails unless gcovr counts every product line
# executed. What x86-64 with AVX2 cannot run is excluded where it stands:
# the big-endian byte swap, navcheck's scan without AVX2.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/need_packages.sh
need_packages_for build test coverage
build=${BUILD_DIR:-build-coverage}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=--coverage \
  -DCMAKE_EXE_LINKER_FLAGS=--coverage -DNAVTOOLS_WERROR="${NAVTOOLS_WERROR:-OFF}" >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
find "$build" -name '*.gcda' -delete
# The gcov runtime needs memory of its own at exit, so no address-space limits.
ctest --test-dir "$build" -j"$(nproc)" -E '\.|address_space' >/dev/null || {
  echo "command-line tests failed"; exit 1; }
mkdir -p "$build/cases"
"$build/testing/write_test_files" hard-cases "$build/cases"
for file in "$build"/cases/*.rec; do "$build/navdump/navdump" "$file" >/dev/null 2>&1 || true; done
gcovr -r . "$build" --filter 'navdump/' --filter 'navcheck/' --filter 'navspan/' --filter 'radcon/' --filter 'records/' \
  --exclude '.*_test\.cc' --exclude '.*_fuzz\.cc' --fail-under-line 100
