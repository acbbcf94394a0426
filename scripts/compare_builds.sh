#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds navdump and radcon several ways (the default build, g++ -O3 with
# -march=x86-64-v3, clang++, the hardened build of the package, and cross
# builds for each of CROSS_ARCHS, by default aarch64 s390x armhf, run under
# qemu-user) and checks that they print byte-identical output on a fixed set
# of hard-case record files. CROSS_ARCHS= (empty) compares the native builds
# only.
set -euo pipefail
cd "$(dirname "$0")/.."
root=${COMPARE_DIR:-build-compare}
cross_archs=${CROSS_ARCHS-aarch64 s390x armhf}
mkdir -p "$root/cases"

build() {  # name, extra cmake arguments...
  local name=$1
  shift
  cmake -S . -B "$root/$name" -DNAVTOOLS_TESTS=OFF -DNAVTOOLS_WERROR=ON "$@" >/dev/null
  cmake --build "$root/$name" -j"$(nproc)" --target navdump radcon >/dev/null
}

# The command that runs a program of the named build on this host.
runner() {
  case $1 in
    aarch64) echo "qemu-aarch64 -L /usr/aarch64-linux-gnu" ;;
    s390x) echo "qemu-s390x -L /usr/s390x-linux-gnu" ;;
    armhf) echo "qemu-arm -L /usr/arm-linux-gnueabihf" ;;
  esac
}

build default
build gcc-v3 -DCMAKE_CXX_COMPILER=g++ -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS="-O3 -march=x86-64-v3"
build clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Release
build hardened -DNAVTOOLS_HARDEN=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
for arch in $cross_archs; do
  build "$arch" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-$arch.cmake"
done
cmake --build "$root/default" -j"$(nproc)" --target write_hard_cases >/dev/null
"$root/default/testing/write_hard_cases" "$root/cases"

status=0
for variant in gcc-v3 clang hardened $cross_archs; do
  for file in "$root"/cases/*.rec; do
    for b in default "$variant"; do
      # shellcheck disable=SC2046  # the runner is a command and its options
      $(runner "$b") "$root/$b/navdump/navdump" "$file" >"$root/$b.out" 2>"$root/$b.err" || true
    done
    if cmp -s "$root/default.out" "$root/$variant.out" &&
      cmp -s "$root/default.err" "$root/$variant.err"; then
      echo "same: $variant navdump $(basename "$file") ($(wc -l <"$root/default.out") lines)"
    else
      echo "DIFFERENT: $variant navdump $(basename "$file")" \
        "($(diff "$root/default.out" "$root/$variant.out" | grep -c '^>' || true) lines differ)"
      status=1
    fi
  done
  # shellcheck disable=SC2046
  if cmp -s <("$root/default/radcon/radcon") <($(runner "$variant") "$root/$variant/radcon/radcon"); then
    echo "same: $variant radcon"
  else
    echo "DIFFERENT: $variant radcon"
    status=1
  fi
done
exit $status
