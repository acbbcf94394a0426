# SPDX-License-Identifier: MIT
# Cross build for mips64el (mips64el-linux-gnuabi64, n64 ABI), run under qemu-mips64el:
#   cmake -S . -B build-cross-mips64el -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mips64el.cmake
set(CMAKE_SYSTEM_PROCESSOR mips64)
set(NAVTOOLS_CROSS_TRIPLET mips64el-linux-gnuabi64)
set(NAVTOOLS_CROSS_QEMU qemu-mips64el)
include(${CMAKE_CURRENT_LIST_DIR}/cross-linux-gnu.cmake)
