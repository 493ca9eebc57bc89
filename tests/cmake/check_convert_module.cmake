# Builds convert_project with the SeqsmithConvert module: both listings
# appear, a second build does nothing, and touching one input converts that
# input alone.
#
# Inputs: SEQSMITH, MAKE_DEMO, MODULE_DIR, PROJECT_DIR, WORK_DIR, GENERATOR,
# MAKE_PROGRAM.

# The nested build must not try to join the jobserver of an outer make.
unset(ENV{MAKEFLAGS})
unset(ENV{MFLAGS})

function(fail message)
  message(FATAL_ERROR "${message}")
endfunction()

function(run_checked log_var)
  execute_process(COMMAND ${ARGN}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    fail("command failed (${status}): ${ARGN}\n${out}")
  endif()
  set(${log_var} "${out}" PARENT_SCOPE)
endfunction()

function(build log_var)
  run_checked(out ${CMAKE_COMMAND} --build "${WORK_DIR}/build")
  set(${log_var} "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${WORK_DIR}")
set(midi "${WORK_DIR}/midi")
file(MAKE_DIRECTORY "${midi}")
run_checked(ignored "${MAKE_DEMO}" "${midi}/intro.mid")
run_checked(ignored "${MAKE_DEMO}" "${midi}/second take.mid")

set(configure ${CMAKE_COMMAND} -S "${PROJECT_DIR}" -B "${WORK_DIR}/build"
  -G "${GENERATOR}"
  -DSEQSMITH_EXECUTABLE=${SEQSMITH}
  -DSEQSMITH_MODULE_DIR=${MODULE_DIR}
  "-DMIDI_DIR=${midi}")
if(MAKE_PROGRAM)
  list(APPEND configure "-DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM}")
endif()
run_checked(ignored ${configure})

# First build: both inputs are converted into the output directory.
build(log)
set(tunes "${WORK_DIR}/build/tunes")
foreach(name IN ITEMS "intro" "second take")
  if(NOT log MATCHES "Converting [^\n]*${name}\\.mid")
    fail("the first build did not convert ${name}.mid:\n${log}")
  endif()
  if(NOT EXISTS "${tunes}/${name}.tune")
    fail("the first build did not write ${tunes}/${name}.tune:\n${log}")
  endif()
endforeach()

file(READ "${tunes}/intro.tune" listing)
string(REPLACE "\r" "" listing "${listing}")
foreach(line IN ITEMS "\n; intro.tune\n" "\nSMF_intro_Begin:\n"
                      "\n    timebase 96\n" "\nSMF_intro_End:\n")
  if(NOT listing MATCHES "${line}")
    fail("intro.tune lacks the line '${line}':\n${listing}")
  endif()
endforeach()
file(READ "${tunes}/second take.tune" listing)
if(NOT listing MATCHES "\nSMF_second_take_Begin:")
  fail("second take.tune does not use the label SMF_second_take:\n${listing}")
endif()

# Nothing changed: nothing is converted.
build(log)
if(log MATCHES "Converting")
  fail("a build without changes converted again:\n${log}")
endif()

# One input changed: that input alone is converted. The pause makes the
# new time stamp later than the listing's even on coarse file systems.
execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 1)
file(TOUCH "${midi}/intro.mid")
build(log)
if(NOT log MATCHES "Converting [^\n]*intro\\.mid")
  fail("touching intro.mid did not convert it again:\n${log}")
endif()
if(log MATCHES "second take")
  fail("touching intro.mid also converted second take.mid:\n${log}")
endif()
