# SPDX-License-Identifier: MIT
# Cross build for riscv64 (riscv64-linux-gnu), run under qemu-riscv64:
#   cmake -S . -B build-cross-riscv64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-riscv64.cmake
set(CMAKE_SYSTEM_PROCESSOR riscv64)
set(NAVTOOLS_CROSS_TRIPLET riscv64-linux-gnu)
set(NAVTOOLS_CROSS_QEMU qemu-riscv64)
include(${CMAKE_CURRENT_LIST_DIR}/cross-linux-gnu.cmake)
