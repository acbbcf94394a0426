# SPDX-License-Identifier: MIT
# Cross build for i386 (i686-linux-gnu, 32-bit), run under qemu-i386:
#   cmake -S . -B build-cross-i386 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i386.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
set(NAVTOOLS_CROSS_TRIPLET i686-linux-gnu)
set(NAVTOOLS_CROSS_QEMU qemu-i386)
include(${CMAKE_CURRENT_LIST_DIR}/cross-linux-gnu.cmake)
# The top-level CMakeLists.txt keeps double arithmetic in SSE2 here, as on
# x86-64.
