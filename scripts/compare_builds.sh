#!/usr/bin/env bash
# Builds navdump and radcon four ways (the default build, g++ -O3 with
# -march=x86-64-v3, clang++, and the hardened build of the package) and checks that they print byte-identical
# output on a fixed set of hard-case record files.
set -euo pipefail
cd "$(dirname "$0")/.."
root=${COMPARE_DIR:-build-compare}
mkdir -p "$root/cases"

build() {  # name, extra cmake arguments...
  local name=$1
  shift
  cmake -S . -B "$root/$name" -DNAVTOOLS_TESTS=OFF -DNAVTOOLS_WERROR=ON "$@" >/dev/null
  cmake --build "$root/$name" -j"$(nproc)" --target navdump radcon write_hard_cases >/dev/null
}

build default
build gcc-v3 -DCMAKE_CXX_COMPILER=g++ -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS="-O3 -march=x86-64-v3"
build clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Release
build hardened -DNAVTOOLS_HARDEN=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
"$root/default/testing/write_hard_cases" "$root/cases"

status=0
for variant in gcc-v3 clang hardened; do
  for file in "$root"/cases/*.rec; do
    for b in default "$variant"; do
      "$root/$b/navdump/navdump" "$file" >"$root/$b.out" 2>"$root/$b.err" || true
    done
    if cmp -s "$root/default.out" "$root/$variant.out" &&
      cmp -s "$root/default.err" "$root/$variant.err"; then
      echo "same: $variant navdump $(basename "$file") ($(wc -l <"$root/default.out") lines)"
    else
      echo "DIFFERENT: $variant navdump $(basename "$file")"
      status=1
    fi
  done
  if cmp -s <("$root/default/radcon/radcon") <("$root/$variant/radcon/radcon"); then
    echo "same: $variant radcon"
  else
    echo "DIFFERENT: $variant radcon"
    status=1
  fi
done
exit $status
