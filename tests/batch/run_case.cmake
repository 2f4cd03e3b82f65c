# Runs veltra-batch on one golden case folder in a scratch copy and compares
# its exit status, standard output, standard error and every file under the
# case's expected/ folder exactly.
#   cmake -DBATCH=<veltra-batch> -DCASE=<case folder> -DWORK=<scratch folder> -P run_case.cmake
# The case holds `script` (also given as standard input), its input files,
# `expected_stdout`, and optionally `expected_stderr` (else empty),
# `expected_status` (else 0), `expected/` and `options` (the command-line
# arguments, one per line; else --time 1000000000 script).
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(COPY "${CASE}/" DESTINATION "${WORK}/run" PATTERN "expected*" EXCLUDE PATTERN "options" EXCLUDE)

set(arguments --time 1000000000 script)
if(EXISTS "${CASE}/options")
  file(STRINGS "${CASE}/options" arguments)
endif()
execute_process(COMMAND "${BATCH}" ${arguments}
                WORKING_DIRECTORY "${WORK}/run"
                INPUT_FILE "${CASE}/script"
                OUTPUT_FILE "${WORK}/stdout"
                ERROR_FILE "${WORK}/stderr"
                RESULT_VARIABLE status)

set(failures "")
set(expected_status 0)
if(EXISTS "${CASE}/expected_status")
  file(STRINGS "${CASE}/expected_status" expected_status LIMIT_COUNT 1)
endif()
if(NOT status STREQUAL expected_status)
  string(APPEND failures "exit status ${status}, expected ${expected_status}\n")
endif()

if(NOT EXISTS "${CASE}/expected_stderr")
  file(WRITE "${WORK}/expected_stderr" "")
else()
  configure_file("${CASE}/expected_stderr" "${WORK}/expected_stderr" COPYONLY)
endif()
foreach(stream stdout stderr)
  if(stream STREQUAL "stdout")
    set(expected "${CASE}/expected_stdout")
  else()
    set(expected "${WORK}/expected_stderr")
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${expected}" "${WORK}/${stream}"
                  RESULT_VARIABLE different)
  if(different)
    file(READ "${WORK}/${stream}" actual)
    file(READ "${expected}" wanted)
    string(APPEND failures "${stream} differs.\n--- expected:\n${wanted}--- actual:\n${actual}")
  endif()
endforeach()

file(GLOB_RECURSE expected_files RELATIVE "${CASE}/expected" "${CASE}/expected/*")
foreach(name ${expected_files})
  if(NOT EXISTS "${WORK}/run/${name}")
    string(APPEND failures "${name} was not written\n")
    continue()
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${CASE}/expected/${name}" "${WORK}/run/${name}"
                  RESULT_VARIABLE different)
  if(different)
    string(APPEND failures "${name} differs from expected/${name}\n")
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "case ${CASE}:\n${failures}")
endif()
