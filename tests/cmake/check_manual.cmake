# The manual page formats without a single warning.
#
# Inputs: GROFF, PAGE.
execute_process(COMMAND "${GROFF}" -man -ww -z "${PAGE}"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0 OR NOT out STREQUAL "")
  message(FATAL_ERROR "groff -man -ww -z ${PAGE} (${status}):\n${out}")
endif()
