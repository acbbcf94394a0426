# SPDX-License-Identifier: MIT
# Installs BUILD_DIR into a scratch prefix and checks that exactly the
# PROGRAMS and their man pages land there.
set(prefix "${BUILD_DIR}/install-check")
file(REMOVE_RECURSE "${prefix}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()
file(GLOB_RECURSE installed RELATIVE "${prefix}" "${prefix}/*")
list(SORT installed)
set(expected "")
foreach(program IN LISTS PROGRAMS)
  list(APPEND expected bin/${program} share/man/man1/${program}.1)
endforeach()
list(SORT expected)
if(NOT installed STREQUAL expected)
  message(FATAL_ERROR "installed: ${installed}\nexpected: ${expected}")
endif()
