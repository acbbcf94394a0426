# SPDX-License-Identifier: MIT
# Cross build for i386 (i686-linux-gnu, 32-bit), run under qemu-i386:
#   cmake -S . -B build-cross-i386 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i386.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
set(NAVTOOLS_CROSS_TRIPLET i686-linux-gnu)
set(NAVTOOLS_CROSS_QEMU qemu-i386)
include(${CMAKE_CURRENT_LIST_DIR}/cross-linux-gnu.cmake)
# Arithmetic on double in SSE2, as on x86-64, rather than in the x87 unit.
# With x87 code g++ 12 keeps intermediate doubles in 80 bits (it has no
# -fexcess-precision=standard for C++, and -ffloat-store rounds only named
# variables), and it copies doubles through the unit's registers, whose load
# quietens a signalling NaN: navdump then listed the elapsed time as "nan"
# where x86-64 lists "-nan" when the first record's time is a signalling NaN
# (it decides which NaN subtract_double passes on). A double returned from a
# function still passes through the x87 unit (the ABI), which
# record_reader.cc avoids for that time. Needs SSE2 (Pentium 4 and later);
# the calling convention is unchanged.
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
