# SPDX-License-Identifier: MIT
# Fails when groff reports any warning for the man page MAN_PAGE.
execute_process(COMMAND groff -t -man -ww -z ${MAN_PAGE}
                RESULT_VARIABLE status ERROR_VARIABLE warnings)
if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "groff on ${MAN_PAGE}:\n${warnings}")
endif()
