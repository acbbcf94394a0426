# SPDX-License-Identifier: MIT
# GoogleTest for a cross build, compiled for the target from Debian's sources
# (package googletest), under the name find_package(GTest) gives natively.
set(NAVTOOLS_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT EXISTS ${NAVTOOLS_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${NAVTOOLS_GTEST_SOURCE} "
                      "(Debian package googletest)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${NAVTOOLS_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Its headers are third-party code: our warnings stay off them, as they do for
# the installed package.
foreach(target gtest gtest_main)
  get_target_property(include_dirs ${target} INTERFACE_INCLUDE_DIRECTORIES)
  set_target_properties(${target} PROPERTIES
                        INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${include_dirs}")
endforeach()
if(NOT TARGET GTest::gtest_main)  # older sources lack the alias
  add_library(GTest::gtest_main ALIAS gtest_main)
endif()
