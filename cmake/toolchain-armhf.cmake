# SPDX-License-Identifier: MIT
# Cross build for armhf (arm-linux-gnueabihf, 32-bit), run under qemu-arm:
#   cmake -S . -B build-cross-armhf -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-armhf.cmake
set(CMAKE_SYSTEM_PROCESSOR arm)
set(NAVTOOLS_CROSS_TRIPLET arm-linux-gnueabihf)
set(NAVTOOLS_CROSS_QEMU qemu-arm)
include(${CMAKE_CURRENT_LIST_DIR}/cross-linux-gnu.cmake)
# GCC notes an ABI change of 2017 on every vector insert here; nothing of
# ours crosses that ABI boundary.
set(CMAKE_CXX_FLAGS_INIT -Wno-psabi)
