# SPDX-License-Identifier: MIT
# Command-line tests: each is a short sh script, run in a folder of its own
# under cli/ in the build tree after sourcing cli/env.sh, which defines
#   navdump, navcheck, navspan, radcon,   the built programs, run through
#   write_samples, write_test_files       the emulator in a cross build;
#   with_faults, refusing_skips           strace failing chosen calls
#                                         (native builds);
#   navdump_without_arguments             navdump started with no argument
#                                         vector, as Linux starts it
#                                         (argc 1, an empty argv[0]);
#   NAVDUMP_PATH, NAVCHECK_PATH,          the programs' paths, the source tree;
#   NAVSPAN_PATH, RADCON_PATH,
#   WRITE_SAMPLES_PATH,
#   SOURCE
#   FAULT_FS                              the FUSE fault filesystem, if built;
#   expected                              navdump's listing of cli/listed.rec;
#   expect STATUS ERR                     checks the status of the command
#                                         just run and its standard error,
#                                         which it wrote to the file err,
#                                         and ends the test if either differs.
set(NAVTOOLS_CLI_DIR ${CMAKE_BINARY_DIR}/cli)
set(emulator "")
foreach(arg IN LISTS CMAKE_CROSSCOMPILING_EMULATOR)
  string(APPEND emulator "'${arg}' ")
endforeach()
if(CMAKE_CROSSCOMPILING_EMULATOR)
  set(without_arguments "${emulator}-0 ''")  # qemu-user's argv[0], and nothing else
else()
  set(without_arguments "bash -c 'exec -a \"\" \"$0\"'")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/cli_env.sh.in ${CMAKE_BINARY_DIR}/cli_env.sh.in @ONLY)
file(GENERATE OUTPUT ${NAVTOOLS_CLI_DIR}/env.sh INPUT ${CMAKE_BINARY_DIR}/cli_env.sh.in)

# A test NAME running SCRIPT; further arguments name fixtures it needs.
function(navtools_cli_test name script)
  file(MAKE_DIRECTORY ${NAVTOOLS_CLI_DIR}/${name})
  add_test(NAME ${name} COMMAND sh -c ". ../env.sh && ${script}"
           WORKING_DIRECTORY ${NAVTOOLS_CLI_DIR}/${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${NAVTOOLS_TEST_TIMEOUT}
                       FIXTURES_REQUIRED "${ARGN}")
endfunction()

# A fixture NAME whose SCRIPT writes shared input files into cli/.
function(navtools_cli_fixture name script)
  add_test(NAME ${name} COMMAND sh -c ". ./env.sh && ${script}"
           WORKING_DIRECTORY ${NAVTOOLS_CLI_DIR})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${NAVTOOLS_TEST_TIMEOUT}
                       FIXTURES_SETUP ${name})
endfunction()
