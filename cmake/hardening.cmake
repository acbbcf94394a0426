# SPDX-License-Identifier: MIT
# Hardening flags as Debian builds its packages (dpkg-buildflags with
# hardening=+all), plus stack-clash and control-flow protection. Included
# when NAVTOOLS_HARDEN is on; none of these flags changes a printed digit.
include(CheckCXXCompilerFlag)
include(CheckPIESupported)

check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

# Fortified libc calls need optimisation; a Debug build would only warn.
add_compile_options(-Wformat -Werror=format-security -Wdate-time
                    -fstack-protector-strong
                    "$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
# Neither the source nor the build folder's path may reach the programs: the
# debug information holds both and the build-id hashes it. Where the build
# folder lies inside the source folder, g++ (the map given last) and clang++
# (the longest) both apply the build folder's map.
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.
                    -ffile-prefix-map=${CMAKE_BINARY_DIR}=.)

# Not every target has these (control-flow protection is x86 only).
foreach(flag -fstack-clash-protection -fcf-protection)
  string(MAKE_C_IDENTIFIER "navtools_has${flag}" have)
  check_cxx_compiler_flag(${flag} ${have})
  if(${have})
    add_compile_options(${flag})
  endif()
endforeach()

add_link_options(LINKER:-z,relro LINKER:-z,now)

# The linker marks a program as fit for control-flow protection only when
# every object is; Debian 12's C start-up files (crt1.o, crti.o) carry no mark
# although they only call and return. The mark is set explicitly so that the
# loader may enable shadow stacks where it can.
if(navtools_has_fcf_protection)
  add_link_options(LINKER:-z,ibt LINKER:-z,shstk)
endif()
