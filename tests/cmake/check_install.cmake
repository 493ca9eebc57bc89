# Installs the build into an empty prefix: exactly the program, the manual
# page, the bash completion and the CMake module arrive, and the installed
# program converts a file and reports the project's version.
#
# Inputs: BUILD_DIR, MAKE_DEMO, WORK_DIR, VERSION.

function(fail message)
  message(FATAL_ERROR "${message}")
endfunction()

unset(ENV{DESTDIR})
file(REMOVE_RECURSE "${WORK_DIR}")
set(prefix "${WORK_DIR}/prefix")
execute_process(
  COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0)
  fail("cmake --install failed (${status}):\n${out}")
endif()

file(GLOB_RECURSE installed RELATIVE "${prefix}" "${prefix}/*")
list(SORT installed)
set(expected
  bin/seqsmith
  share/bash-completion/completions/seqsmith
  share/man/man1/seqsmith.1
  share/seqsmith/cmake/SeqsmithConvert.cmake)
if(NOT installed STREQUAL expected)
  string(REPLACE ";" "\n  " installed "${installed}")
  string(REPLACE ";" "\n  " expected "${expected}")
  fail("installed files:\n  ${installed}\nexpected:\n  ${expected}")
endif()

# The banner, the manual page and the package carry one version.
execute_process(COMMAND "${prefix}/bin/seqsmith" --help
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out MATCHES "^Orvane_SeqSmith Ver\\.${VERSION}\n")
  fail("installed seqsmith --help (${status}) does not show version \
${VERSION}:\n${out}${err}")
endif()
file(STRINGS "${prefix}/share/man/man1/seqsmith.1" title REGEX "^\\.TH ")
if(NOT title MATCHES "\"seqsmith ${VERSION}\"")
  fail("the manual page's title line does not name version ${VERSION}: \
${title}")
endif()

execute_process(COMMAND "${MAKE_DEMO}" "${WORK_DIR}/song.mid"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  fail("make_demo failed (${status})")
endif()
execute_process(COMMAND "${prefix}/bin/seqsmith" "${WORK_DIR}/song.mid"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0 OR NOT EXISTS "${WORK_DIR}/song.tune")
  fail("installed seqsmith did not convert song.mid (${status}):\n${out}")
endif()
file(READ "${WORK_DIR}/song.tune" listing)
if(NOT listing MATCHES "\nSMF_song_Begin:\n")
  fail("song.tune is not a listing of song.mid:\n${listing}")
endif()
