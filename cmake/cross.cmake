# SPDX-License-Identifier: MIT
# Toolchain file of the cross builds: Debian's cross g++ for the architecture
# NAVTOOLS_ARCH of cmake/architectures.txt, its sysroot under /usr, and
# qemu-user to run what is built, for the tests and for scripts that start
# the programs themselves:
#   cmake -S . -B build-cross-armhf -DCMAKE_TOOLCHAIN_FILE=cmake/cross.cmake -DNAVTOOLS_ARCH=armhf
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/architectures.txt row REGEX "^${NAVTOOLS_ARCH} ")
if(NOT NAVTOOLS_ARCH OR NOT row)
  message(FATAL_ERROR "NAVTOOLS_ARCH '${NAVTOOLS_ARCH}' is not in cmake/architectures.txt")
endif()
string(REPLACE " " ";" row "${row}")
list(GET row 1 triplet)
list(GET row 2 qemu)
# Compiler checks run this file again in projects of their own.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES NAVTOOLS_ARCH)

set(CMAKE_SYSTEM_NAME Linux)
string(REGEX MATCH "^[^-]+" CMAKE_SYSTEM_PROCESSOR ${triplet})
set(CMAKE_C_COMPILER ${triplet}-gcc)
set(CMAKE_CXX_COMPILER ${triplet}-g++)
set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# GCC notes an ABI change of 2017 on every vector insert on 32-bit ARM;
# nothing of ours crosses that ABI boundary.
if(triplet MATCHES "^arm-")
  set(CMAKE_CXX_FLAGS_INIT -Wno-psabi)
endif()

# An absolute path: tests pass it to execv, which does not search PATH.
find_program(NAVTOOLS_QEMU ${qemu} REQUIRED)
# The target's loader, found under the -L prefix, still reads the host's
# /etc/ld.so.cache, which lists the host's multilib libraries of the same
# processor (/lib32/libc.so.6 from libc6-i386, pulled in by clang's runtime
# libraries, libclang-rt-dev): a libc of another build than the loader, with
# which fork() hangs in the child. LD_LIBRARY_PATH, searched before the
# cache, keeps every library in the cross sysroot.
set(CMAKE_CROSSCOMPILING_EMULATOR ${NAVTOOLS_QEMU} -L /usr/${triplet}
    -E LD_LIBRARY_PATH=/usr/${triplet}/lib)
