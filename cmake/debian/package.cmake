# SPDX-License-Identifier: MIT
# The `deb` target: build_deb.sh packages what the install rules install,
# the programs and their man pages.
add_custom_target(deb VERBATIM
  COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/build_deb.sh ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}
             ${PROJECT_VERSION} "${PROJECT_DESCRIPTION}")
add_dependencies(deb ${programs})
