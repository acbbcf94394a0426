# SPDX-License-Identifier: MIT
# Run by CPack after it has written the package: rebuilds it with dpkg-deb so
# that one commit gives the same bytes whatever the build folder, umask, time
# zone, locale and time of day. CPack takes its archive members' modes from
# the umask and, unless SOURCE_DATE_EPOCH is set, their times from the clock.
# Here every folder and program is 0755, every other file 0644, every owner
# root, and every time SOURCE_DATE_EPOCH: the environment's when set, else the
# time of the last commit, else (outside a git checkout) the newest changelog
# entry's date.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
else()
  # Only the source tree's own repository: not one it happens to lie in.
  execute_process(COMMAND git -c safe.directory=* -C "${CPACK_NAVTOOLS_SOURCE_DIR}"
                          rev-parse --show-toplevel
                  OUTPUT_VARIABLE top OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE status ERROR_QUIET)
  file(REAL_PATH "${CPACK_NAVTOOLS_SOURCE_DIR}" source_dir)
  if(status EQUAL 0 AND top STREQUAL source_dir)
    execute_process(COMMAND git -c safe.directory=* -C "${source_dir}" log -1 --format=%ct
                    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
  else()
    execute_process(COMMAND dpkg-parsechangelog -l "${CPACK_NAVTOOLS_DEBIAN_DIR}/changelog"
                            -STimestamp
                    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()
  set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
endif()
if(NOT epoch MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH is not a number of seconds: '${epoch}'")
endif()

foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  get_filename_component(tree "${deb}" DIRECTORY)
  string(APPEND tree "/reproducible")
  file(REMOVE_RECURSE "${tree}")
  execute_process(COMMAND dpkg-deb --raw-extract "${deb}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND chmod -R a-st,u=rwX,go=rX "${tree}" COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND find "${tree}" -exec touch -h -d @${epoch} {} +
                  COMMAND_ERROR_IS_FATAL ANY)
  # dpkg-deb sorts the members and takes the ar and tar times from
  # SOURCE_DATE_EPOCH; its gzip header holds neither a name nor a time.
  execute_process(COMMAND dpkg-deb --root-owner-group -Zgzip --build "${tree}" "${deb}"
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${tree}")
endforeach()
