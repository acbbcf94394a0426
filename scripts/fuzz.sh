#!/usr/bin/env bash
# Builds the listing fuzz target with clang++ and runs it for FUZZ_SECONDS
# (default 60) from a generated seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${FUZZ_BUILD_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-60}
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DNAVTOOLS_FUZZ=ON -DNAVTOOLS_TESTS=OFF \
  -DNAVTOOLS_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target listing_fuzz write_fuzz_seeds >/dev/null
corpus="$build/corpus"
mkdir -p "$corpus"
"$build/tools/write_fuzz_seeds" "$corpus"
"$build/navdump/listing_fuzz" -max_total_time="$seconds" -max_len=1000000 \
  -print_final_stats=1 "$corpus"
