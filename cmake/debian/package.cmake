# SPDX-License-Identifier: MIT
# The `deb` target: build_deb.sh packages what the install rules install.
add_custom_target(deb VERBATIM
  COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/build_deb.sh ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}
             ${PROJECT_VERSION} "${PROJECT_DESCRIPTION}")
# The install rules take what the default build makes: deb needs all of it.
get_property(dirs DIRECTORY PROPERTY SUBDIRECTORIES)
foreach(dir ${dirs})
  get_property(dir_excluded DIRECTORY ${dir} PROPERTY EXCLUDE_FROM_ALL)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target ${targets})
    get_target_property(excluded ${target} EXCLUDE_FROM_ALL)
    if(NOT dir_excluded AND NOT excluded)
      add_dependencies(deb ${target})
    endif()
  endforeach()
endforeach()
