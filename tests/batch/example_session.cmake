# Runs data/example_session.veltra from another folder than its own, at a few
# clock times, and checks that it shows a good map: every line ran, the last
# training epoch left no prototype inactive, and its heterogeneity is below
# that of centroid convergence alone (the session's last fixpoint line).
#   cmake -DBATCH=<veltra-batch> -DDATA=<data folder> -DWORK=<scratch folder> -P example_session.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/elsewhere" "${WORK}/data/out")
file(COPY "${DATA}/example_session.veltra" "${DATA}/iris.csv" DESTINATION "${WORK}/data")

set(failures "")
foreach(time 1000000000 1 12345)
  execute_process(COMMAND "${BATCH}" --time ${time} ../data/example_session.veltra
                  WORKING_DIRECTORY "${WORK}/elsewhere"
                  OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    string(APPEND failures "--time ${time}: exit status ${status}: ${errors}\n")
    continue()
  endif()
  string(REGEX MATCHALL "fixpoint\t[^\n]*" fixpoints "${output}")
  string(REGEX MATCHALL "epoch\t[^\n]*" epochs "${output}")
  list(POP_BACK fixpoints converged)
  list(POP_BACK epochs last)
  string(REPLACE "\t" ";" converged "${converged}")
  string(REPLACE "\t" ";" last "${last}")
  list(GET converged 1 alone)
  list(GET last 3 trained)
  list(GET last 7 inactive)
  if(NOT inactive STREQUAL "")
    string(APPEND failures "--time ${time}: inactive prototypes ${inactive}\n")
  endif()
  if(NOT trained LESS alone)
    string(APPEND failures "--time ${time}: heterogeneity ${trained}, convergence alone ${alone}\n")
  endif()
endforeach()
foreach(name iris.wgt iris.vio iris.avg iris.frq iris.lst iris_map.svg iris_hits.svg iris_umatrix.svg
             iris_planes.svg iris_labels.svg iris_chart.svg)
  if(NOT EXISTS "${WORK}/data/out/${name}")
    string(APPEND failures "out/${name} was not written beside the script\n")
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "${failures}")
endif()
