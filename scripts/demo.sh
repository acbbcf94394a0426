#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages it needs when missing, builds the programs
# and the sample writer, writes a sample record file of 10 minutes at 50 Hz,
# lists it with navdump, checks it with navcheck, gives its spans with
# navspan and prints radcon's constants and table. A line
# starting with "== " names each program's output; the last one says where
# the programs are.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/need_packages.sh
need_packages_for build
build=${BUILD_DIR:-build-demo}
cmake -S . -B "$build" -DNAVTOOLS_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target navdump navcheck navspan radcon write_samples >/dev/null
sample="$build/sample.rec"
"$build/tools/write_samples" "$sample" 30000 345600 50
echo "== navdump $sample"
"$build/navdump/navdump" "$sample"
echo "== navcheck $sample"
"$build/navcheck/navcheck" "$sample"
echo "== navspan $sample"
"$build/navspan/navspan" "$sample"
echo "== radcon"
"$build/radcon/radcon"
echo "== built: $build/navdump/navdump $build/navcheck/navcheck $build/navspan/navspan $build/radcon/radcon $build/tools/write_samples"
