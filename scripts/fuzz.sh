#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds every fuzz target (clang++, libFuzzer, with the library instrumented
# and sanitized) and runs each for FUZZ_SECONDS (default 60) from a generated
# seed corpus. Prints each target's "Done N runs in S second(s)" line.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${FUZZ_BUILD_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-60}
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DNAVTOOLS_FUZZ=ON -DNAVTOOLS_TESTS=OFF -DNAVTOOLS_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_targets >/dev/null
mapfile -t targets < <(find "$build" -type f -perm -u+x -name '*_fuzz' | sort)
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz target built" >&2; exit 1; }
for target in "${targets[@]}"; do
  name=$(basename "$target")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  "$build/testing/write_fuzz_seeds" "$corpus" "$name"
  log="$build/$name.log"
  echo "--- $name"
  if ! "$target" -max_total_time="$seconds" -print_final_stats=1 "$corpus" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "$name: FAILED" >&2
    exit 1
  fi
  grep -E '^Done [0-9]+ runs in [0-9]+ second' "$log"
done
