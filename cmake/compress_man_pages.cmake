# SPDX-License-Identifier: MIT
# Run by CPack on its staging tree before packaging: man pages go into a
# Debian package gzip-compressed, as Debian's own packages ship them.
file(GLOB_RECURSE pages "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*.1")
list(FILTER pages INCLUDE REGEX "/man/man1/[^/]+\\.1$")
foreach(page ${pages})
  execute_process(COMMAND gzip -9nf ${page} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cannot compress ${page}")
  endif()
endforeach()
