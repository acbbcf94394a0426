# SPDX-License-Identifier: MIT
# A Debian package of the two programs and their man pages: cpack -G DEB.
set(CPACK_PACKAGE_NAME navtools)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "navtools maintainers <maintainers@users.noreply.c-seed-0ae1b8b5.example>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
# The summary line is the project's description; this is the paragraph.
set(CPACK_PACKAGE_DESCRIPTION
    "navdump lists every 3000th record of a flat binary file of 136-byte sample
records (a GPS time and sixteen values, six of them angles converted to
degrees) and reports the record count; radcon prints the calibration
constants of radar channels H, V and F and the calibrated value of H and F
over a 12-bit count. Both print exact, diffable text.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
# The copyright file and the changelog come from cmake/debian; the newest
# changelog entry must name the version being packaged.
set(CPACK_NAVTOOLS_DEBIAN_DIR ${CMAKE_CURRENT_LIST_DIR}/debian)
set(CPACK_NAVTOOLS_STRIP ${CMAKE_STRIP})
file(STRINGS ${CPACK_NAVTOOLS_DEBIAN_DIR}/changelog newest_entry LIMIT_COUNT 1)
if(NOT newest_entry MATCHES "^navtools \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "cmake/debian/changelog: the newest entry is not version ${PROJECT_VERSION}")
endif()
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/compress_man_pages.cmake
                            ${CMAKE_CURRENT_LIST_DIR}/debian_files.cmake)
# The same commit gives the same package, byte for byte.
set(CPACK_NAVTOOLS_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/reproducible_deb.cmake)
include(CPack)
