# SPDX-License-Identifier: MIT
# Cross build for armel (arm-linux-gnueabi, 32-bit, soft-float), run under qemu-arm:
#   cmake -S . -B build-cross-armel -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-armel.cmake
set(CMAKE_SYSTEM_PROCESSOR arm)
set(NAVTOOLS_CROSS_TRIPLET arm-linux-gnueabi)
set(NAVTOOLS_CROSS_QEMU qemu-arm)
include(${CMAKE_CURRENT_LIST_DIR}/cross-linux-gnu.cmake)
