#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the fuzz target listing_fuzz (clang++, libFuzzer, with the library
# instrumented and sanitized) and runs it for FUZZ_SECONDS (default 60) from
# a generated seed corpus. Prints its "Done N runs in S second(s)" line and
# the executions per second.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/need_packages.sh
need_packages_for build fuzz
build=${FUZZ_BUILD_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-60}
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DNAVTOOLS_FUZZ=ON -DNAVTOOLS_TESTS=OFF -DNAVTOOLS_WERROR="${NAVTOOLS_WERROR:-OFF}" >/dev/null
cmake --build "$build" -j"$(nproc)" --target listing_fuzz write_test_files >/dev/null
corpus="$build/corpus"
mkdir -p "$corpus" "$build/cases"
"$build/testing/write_test_files" hard-cases "$build/cases"
# The target checks the first two records of an input: longer ones add nothing.
for file in "$build"/cases/*.rec; do head -c 272 "$file" >"$corpus/$(basename "$file")"; done
log="$build/listing_fuzz.log"
if ! "$build/testing/listing_fuzz" -max_len=272 -max_total_time="$seconds" \
  -print_final_stats=1 "$corpus" >"$log" 2>&1; then
  tail -n 60 "$log"
  echo "listing_fuzz: FAILED" >&2
  exit 1
fi
done_line=$(grep -E '^Done [0-9]+ runs in [0-9]+ second' "$log")
echo "$done_line"
read -r runs secs < <(sed -E 's/^Done ([0-9]+) runs in ([0-9]+) second.*/\1 \2/' <<<"$done_line")
echo "listing_fuzz: $((runs / (secs > 0 ? secs : 1))) executions/s"
