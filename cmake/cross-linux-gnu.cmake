# SPDX-License-Identifier: MIT
# Shared part of the cross toolchain files: Debian's cross g++ for the target
# triplet NAVTOOLS_CROSS_TRIPLET, its sysroot under /usr, and qemu-user
# (NAVTOOLS_CROSS_QEMU) to run what is built, both for CMake (tests, test
# discovery) and for tests that start the built programs themselves.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${NAVTOOLS_CROSS_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${NAVTOOLS_CROSS_TRIPLET}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${NAVTOOLS_CROSS_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# An absolute path: tests pass it to execv, which does not search PATH.
find_program(NAVTOOLS_QEMU ${NAVTOOLS_CROSS_QEMU} REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${NAVTOOLS_QEMU} -L /usr/${NAVTOOLS_CROSS_TRIPLET})
