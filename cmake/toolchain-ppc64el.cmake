# SPDX-License-Identifier: MIT
# Cross build for ppc64el (powerpc64le-linux-gnu, double-double long double), run under qemu-ppc64le:
#   cmake -S . -B build-cross-ppc64el -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-ppc64el.cmake
set(CMAKE_SYSTEM_PROCESSOR ppc64le)
set(NAVTOOLS_CROSS_TRIPLET powerpc64le-linux-gnu)
set(NAVTOOLS_CROSS_QEMU qemu-ppc64le)
include(${CMAKE_CURRENT_LIST_DIR}/cross-linux-gnu.cmake)
