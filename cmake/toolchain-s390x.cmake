# SPDX-License-Identifier: MIT
# Cross build for s390x (s390x-linux-gnu, big-endian), run under qemu-s390x:
#   cmake -S . -B build-cross-s390x -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-s390x.cmake
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(NAVTOOLS_CROSS_TRIPLET s390x-linux-gnu)
set(NAVTOOLS_CROSS_QEMU qemu-s390x)
include(${CMAKE_CURRENT_LIST_DIR}/cross-linux-gnu.cmake)
