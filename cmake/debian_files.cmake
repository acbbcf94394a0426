# SPDX-License-Identifier: MIT
# Run by CPack on its staging tree before packaging: adds the files Debian
# requires in every package (the copyright file and, for a native package,
# changelog.gz) and drops the sections Debian's own packages strip from
# programs (.comment, .note), since CPack's strip keeps them.
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
set(doc "${root}/share/doc/${CPACK_PACKAGE_NAME}")
file(MAKE_DIRECTORY "${doc}")
file(COPY "${CPACK_NAVTOOLS_DEBIAN_DIR}/copyright" "${CPACK_NAVTOOLS_DEBIAN_DIR}/changelog"
     DESTINATION "${doc}" FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
execute_process(COMMAND gzip -9nf "${doc}/changelog" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot compress ${doc}/changelog")
endif()

file(GLOB programs "${root}/bin/*")
foreach(program ${programs})
  execute_process(COMMAND "${CPACK_NAVTOOLS_STRIP}" --remove-section=.comment
                          --remove-section=.note "${program}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cannot strip ${program}")
  endif()
endforeach()
