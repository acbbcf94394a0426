#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds navdump and radcon several ways (the default build, g++ -O3 with
# -march=x86-64-v3, clang++, the hardened build of the package, and cross
# builds for each of CROSS_ARCHS, by default the eight other Debian release
# architectures aarch64 s390x armhf i386 armel ppc64el riscv64 mips64el, run
# under qemu-user) and checks that they print byte-identical output on a
# fixed set of hard-case record files; with i386 among them, also an
# unoptimised i386 build run natively. CROSS_ARCHS= (empty) compares the
# native builds only.
#
# The cross builds are those of scripts/cross_test.sh, in build-cross-ARCH,
# configured exactly as it configures them; only navdump and radcon are built
# here, so whichever script runs second finds them built.
set -euo pipefail
cd "$(dirname "$0")/.."
root=${COMPARE_DIR:-build-compare}
cross_archs=${CROSS_ARCHS-aarch64 s390x armhf i386 armel ppc64el riscv64 mips64el}
mkdir -p "$root/cases" "$root/expected"

declare -A dir  # build folder of each variant
build() {  # name, folder, extra cmake arguments...
  local name=$1
  dir[$name]=$2
  shift 2
  cmake --fresh -S . -B "${dir[$name]}" -DNAVTOOLS_WERROR=ON "$@" >/dev/null
  cmake --build "${dir[$name]}" -j"$(nproc)" --target navdump radcon >/dev/null
}

# Runs the program at a path of the named variant's build on this host:
# through the emulator that the build's configuration names (the one its
# tests use, written to emulator.txt), directly for a native build.
run() {  # variant, program path, arguments...
  local variant=$1 emulator=()
  shift
  mapfile -t emulator <"${dir[$variant]}/emulator.txt"
  "${emulator[@]}" "$@"
}

build default "$root/default" -DNAVTOOLS_TESTS=OFF
build gcc-v3 "$root/gcc-v3" -DNAVTOOLS_TESTS=OFF -DCMAKE_CXX_COMPILER=g++ \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="-O3 -march=x86-64-v3"
build clang "$root/clang" -DNAVTOOLS_TESTS=OFF -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=Release
build hardened "$root/hardened" -DNAVTOOLS_TESTS=OFF -DNAVTOOLS_HARDEN=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo
for arch in $cross_archs; do
  # As scripts/cross_test.sh configures it (tests included, not built here).
  build "$arch" "build-cross-$arch" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-$arch.cmake"
done
variants="gcc-v3 clang hardened $cross_archs"
if [[ " $cross_archs " == *" i386 "* && $(uname -m) == x86_64 ]]; then
  # Unoptimised i386, linked statically and run on the x86-64 processor
  # itself: at -O0 every double returned from a function passes through the
  # x87 unit, whose load quietens a signalling NaN (qemu differs there).
  build i386-O0 "$root/i386-O0" -DNAVTOOLS_TESTS=OFF -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-i386.cmake" -DCMAKE_EXE_LINKER_FLAGS=-static
  : >"$root/i386-O0/emulator.txt"
  variants="$variants i386-O0"
fi
cmake --build "$root/default" -j"$(nproc)" --target write_test_files >/dev/null
rm -f "$root"/cases/*.rec
"$root/default/testing/write_test_files" hard-cases "$root/cases"

# The default build's output, once per file.
for file in "$root"/cases/*.rec; do
  name=$(basename "$file" .rec)
  run default "${dir[default]}/navdump/navdump" "$file" \
    >"$root/expected/$name.out" 2>"$root/expected/$name.err" || true
done
run default "${dir[default]}/radcon/radcon" >"$root/expected/radcon.out"

status=0
for variant in $variants; do
  for file in "$root"/cases/*.rec; do
    name=$(basename "$file" .rec)
    run "$variant" "${dir[$variant]}/navdump/navdump" "$file" \
      >"$root/$variant.out" 2>"$root/$variant.err" || true
    if cmp -s "$root/expected/$name.out" "$root/$variant.out" &&
      cmp -s "$root/expected/$name.err" "$root/$variant.err"; then
      echo "same: $variant navdump $name.rec ($(wc -l <"$root/$variant.out") lines)"
    else
      echo "DIFFERENT: $variant navdump $name.rec" \
        "($(diff "$root/expected/$name.out" "$root/$variant.out" | grep -c '^>' || true) lines differ)"
      status=1
    fi
  done
  if run "$variant" "${dir[$variant]}/radcon/radcon" >"$root/$variant.out" &&
    cmp -s "$root/expected/radcon.out" "$root/$variant.out"; then
    echo "same: $variant radcon"
  else
    echo "DIFFERENT: $variant radcon"
    status=1
  fi
done
exit $status
