# SeqsmithConvert: convert MIDI files to sequence listings as part of a build.
#
#   list(APPEND CMAKE_MODULE_PATH /path/to/seqsmith/cmake)
#   include(SeqsmithConvert)
#   seqsmith_convert(TARGET music SOURCES intro.mid theme.mid
#                    [TIMEBASE 96] [OUTPUT_DIR dir] [ALL])
#
# For every source NAME.mid a custom command writes OUTPUT_DIR/NAME.tune
# (OUTPUT_DIR defaults to the current binary directory; NAME is the file
# name without its last extension, and its labels are SMF_NAME_...). Each
# output depends on its own input and on the seqsmith executable only, so a
# build converts just the inputs that changed. The custom target TARGET
# depends on all outputs; with ALL it is part of the default build. The
# outputs are listed in the target property SEQSMITH_OUTPUTS.
#
# The converter is the seqsmith target of the same build when there is one,
# otherwise SEQSMITH_EXECUTABLE, which is looked up on the PATH (and next
# to this module, for an installed seqsmith) when not set. Needs CMake 3.20.
include_guard(GLOBAL)

set(_seqsmith_convert_dir "${CMAKE_CURRENT_LIST_DIR}")

function(seqsmith_convert)
  cmake_parse_arguments(PARSE_ARGV 0 arg "ALL" "TARGET;TIMEBASE;OUTPUT_DIR"
                        "SOURCES")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR
      "seqsmith_convert: unknown arguments: ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT arg_TARGET)
    message(FATAL_ERROR "seqsmith_convert: TARGET is required")
  endif()
  if(NOT arg_SOURCES)
    message(FATAL_ERROR "seqsmith_convert: SOURCES is required")
  endif()
  if(NOT arg_OUTPUT_DIR)
    set(arg_OUTPUT_DIR "${CMAKE_CURRENT_BINARY_DIR}")
  endif()
  cmake_path(ABSOLUTE_PATH arg_OUTPUT_DIR BASE_DIRECTORY
             "${CMAKE_CURRENT_BINARY_DIR}" NORMALIZE)
  file(MAKE_DIRECTORY "${arg_OUTPUT_DIR}")

  if(TARGET seqsmith)
    set(tool seqsmith)  # resolved to the built file, and a dependency
  else()
    if(NOT SEQSMITH_EXECUTABLE)
      find_program(SEQSMITH_EXECUTABLE seqsmith
        HINTS "${_seqsmith_convert_dir}/../../../bin")
    endif()
    if(NOT SEQSMITH_EXECUTABLE)
      message(FATAL_ERROR
        "seqsmith_convert: seqsmith not found; set SEQSMITH_EXECUTABLE")
    endif()
    set(tool "${SEQSMITH_EXECUTABLE}")
  endif()

  set(options)
  if(DEFINED arg_TIMEBASE)
    list(APPEND options --timebase "${arg_TIMEBASE}")
  endif()

  set(outputs)
  set(stems)
  foreach(source IN LISTS arg_SOURCES)
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY
               "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE OUTPUT_VARIABLE input)
    cmake_path(GET input STEM LAST_ONLY stem)
    if(stem IN_LIST stems)
      message(FATAL_ERROR "seqsmith_convert: two sources give ${stem}.tune")
    endif()
    list(APPEND stems "${stem}")
    set(output "${arg_OUTPUT_DIR}/${stem}.tune")
    # Run in the output directory with a bare -o name, so that the header
    # comment of the listing names the file, not the build tree.
    add_custom_command(
      OUTPUT "${output}"
      COMMAND ${tool} ${options} -o "${stem}.tune" "${input}"
      WORKING_DIRECTORY "${arg_OUTPUT_DIR}"
      DEPENDS "${input}" ${tool}
      COMMENT "Converting ${source} to ${stem}.tune"
      VERBATIM)
    list(APPEND outputs "${output}")
  endforeach()

  set(all)
  if(arg_ALL)
    set(all ALL)
  endif()
  add_custom_target(${arg_TARGET} ${all} DEPENDS ${outputs})
  set_property(TARGET ${arg_TARGET} PROPERTY SEQSMITH_OUTPUTS "${outputs}")
endfunction()
