#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the programs several ways and checks that every build prints
# byte-identical output on the hard-case and check-case record files (navdump
# on each, navcheck on all), navspan on the check cases and on each span
# case's campaign, and radcon: against the default
# build, g++ -O3 -march=x86-64-v3, clang++, the hardened build of the
# package, and a cross build for each Debian architecture of
# cmake/architectures.txt (ARCHS names some; empty for none), which also
# runs its whole test suite under qemu-user; with i386 among them, an
# unoptimised i386 build too, run natively. Prints each cross build's times.
set -euo pipefail
cd "$(dirname "$0")/.."
root=${COMPARE_DIR:-build-compare}
archs=${ARCHS-$(awk '!/^#/ {printf "%s ", $1}' cmake/architectures.txt)}
. scripts/need_packages.sh
need_packages_for build test compare
if [ -n "$archs" ]; then
  need_packages_for cross
  # shellcheck disable=SC2046  # one package name a word
  need_packages $(for arch in $archs; do
    awk -v arch="$arch" '$1 == arch {print "g++-" $2}' cmake/architectures.txt
  done)
  # The compression libraries of each architecture, in its cross sysroot.
  # shellcheck disable=SC2086  # one architecture a word
  scripts/cross_libraries.sh $archs
fi
# Differential tests take a small sample under emulation.
export NAVTOOLS_DIFF_OPERANDS=200000
declare -A dir

build() {  # name, folder, extra cmake arguments...
  local name=$1
  dir[$name]=$2
  shift 2
  cmake --fresh -S . -B "${dir[$name]}" -DNAVTOOLS_WERROR="${NAVTOOLS_WERROR:-OFF}" "$@" >/dev/null
  cmake --build "${dir[$name]}" -j"$(nproc)" >/dev/null
}

run() { "$@" && echo "status 0" || echo "status $?"; }  # its output, then its status

# The variant's programs on the hard cases, in $root/out/VARIANT, through
# the emulator its tests use, if any.
outputs() {
  local out=$root/out/$1 bin=${dir[$1]} emulator=() file
  mapfile -t emulator <"$bin/emulator.txt"
  rm -rf "$out" && mkdir -p "$out"
  for file in "$root"/cases/*.rec; do
    run "${emulator[@]}" "$bin/navdump/navdump" "$file" >"$out/navdump-$(basename "$file")" 2>&1
  done
  run "${emulator[@]}" "$bin/navcheck/navcheck" "$root"/cases/*.rec >"$out/navcheck" 2>&1
  run "${emulator[@]}" "$bin/navspan/navspan" "$root"/checks/*.rec >"$out/navspan" 2>&1
  for campaign in "$root"/spans/*/; do
    run "${emulator[@]}" "$bin/navspan/navspan" "$campaign"* >"$out/navspan-$(basename "$campaign")" 2>&1
  done
  run "${emulator[@]}" "$bin/radcon/radcon" >"$out/radcon" 2>&1
}

status=0
compare() {
  outputs "$1"
  if diff -r "$root/out/default" "$root/out/$1" >"$root/out/$1.diff"; then
    echo "same: $1 ($(cat "$root/out/$1"/* | wc -l) lines)"
  else
    echo "DIFFERENT: $1 ($(grep -c '^>' "$root/out/$1.diff") lines differ; $root/out/$1.diff)"
    status=1
  fi
}

build default "$root/default" -DNAVTOOLS_TESTS=OFF
cmake --build "$root/default" -j"$(nproc)" --target write_test_files >/dev/null
rm -rf "$root/cases" && mkdir -p "$root/cases"
"$root/default/testing/write_test_files" hard-cases "$root/cases"
"$root/default/testing/write_test_files" check-cases "$root/cases"
rm -rf "$root/checks" "$root/spans" && mkdir -p "$root/checks" "$root/spans"
"$root/default/testing/write_test_files" check-cases "$root/checks"
"$root/default/testing/write_test_files" span-cases "$root/spans"
outputs default

build gcc-v3 "$root/gcc-v3" -DNAVTOOLS_TESTS=OFF -DCMAKE_CXX_COMPILER=g++ \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="-O3 -march=x86-64-v3"
compare gcc-v3
build clang "$root/clang" -DNAVTOOLS_TESTS=OFF -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=Release
compare clang
build hardened "$root/hardened" -DNAVTOOLS_TESTS=OFF -DNAVTOOLS_HARDEN=ON
compare hardened
if [[ " $archs " == *" i386 "* && $(uname -m) == x86_64 ]]; then
  # At -O0 every double returned from a function passes through the x87
  # unit, whose load quietens a signalling NaN. Linked statically, it runs on
  # the x86-64 processor itself where the kernel runs 32-bit programs, else
  # under qemu, whose x87 load quietens alike.
  build i386-O0 "$root/i386-O0" -DNAVTOOLS_TESTS=OFF -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/cross.cmake" -DNAVTOOLS_ARCH=i386 \
    -DCMAKE_EXE_LINKER_FLAGS=-static
  if "$root/i386-O0/radcon/radcon" >/dev/null 2>&1; then
    : >"$root/i386-O0/emulator.txt"
  else
    echo "i386-O0: this kernel runs no 32-bit x86 programs; under qemu"
  fi
  compare i386-O0
fi

for arch in $archs; do
  start=$SECONDS
  build "$arch" "build-cross-$arch" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/cross.cmake" \
    -DNAVTOOLS_ARCH="$arch"
  built=$SECONDS
  exclude=()
  # qemu's x87 unit quietens a signalling NaN read from memory by fsubl
  # before choosing between two NaNs, where the hardware lets the quiet
  # minuend win (navdump follows the hardware, as the known answers and the
  # native run of this test check); here the test would check qemu.
  [ "$arch" = i386 ] && exclude=(-E 'ListingBlock\.MatchesTheQuotedFormatsWithX87Arithmetic')
  ctest --test-dir "build-cross-$arch" --output-on-failure -j"$(nproc)" "${exclude[@]}" || status=1
  compare "$arch"
  echo "--- $arch: build $((built - start)) s, tests and comparison $((SECONDS - built)) s"
done
exit $status
