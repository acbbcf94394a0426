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
# The target's loader, found under the -L prefix, still reads the host's
# /etc/ld.so.cache, which lists the host's multilib libraries of the same
# processor (/lib32/libc.so.6 from libc6-i386, pulled in by
# libclang-rt-14-dev): a libc of another build than the loader, with which
# fork() hangs in the child. LD_LIBRARY_PATH, searched before the cache,
# keeps every library in the cross sysroot.
set(CMAKE_CROSSCOMPILING_EMULATOR ${NAVTOOLS_QEMU} -L /usr/${NAVTOOLS_CROSS_TRIPLET}
    -E LD_LIBRARY_PATH=/usr/${NAVTOOLS_CROSS_TRIPLET}/lib)
