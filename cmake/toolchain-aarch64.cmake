# SPDX-License-Identifier: MIT
# Cross build for aarch64 (aarch64-linux-gnu), run under qemu-aarch64:
#   cmake -S . -B build-cross-aarch64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-aarch64.cmake
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(NAVTOOLS_CROSS_TRIPLET aarch64-linux-gnu)
set(NAVTOOLS_CROSS_QEMU qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/cross-linux-gnu.cmake)
