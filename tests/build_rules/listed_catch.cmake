cmake_minimum_required(VERSION 3.25)
# The check for unlisted sources on a small tree: a .cpp in a folder of its
# own that no list holds stops it, naming the file; listed, it passes.
# cmake -DCHECK=<listed_sources.cmake> -DWORK=<scratch folder> -P listed_catch.cmake
file(REMOVE_RECURSE ${WORK})
file(WRITE ${WORK}/src/core/listed.cpp "")
file(WRITE ${WORK}/src/core/new_folder/forgotten.cpp "")
file(WRITE ${WORK}/src/core/listed.h "")

function(run_check result output)
  file(WRITE ${WORK}/run.cmake "cmake_minimum_required(VERSION 3.25)
include(${CHECK})
veltrane_check_listed(${WORK} src ${ARGN})\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -P ${WORK}/run.cmake RESULT_VARIABLE code ERROR_VARIABLE err OUTPUT_QUIET)
  set(${result} ${code} PARENT_SCOPE)
  set(${output} "${err}" PARENT_SCOPE)
endfunction()

run_check(code err src/core/listed.cpp)
string(FIND "${err}" "src/core/new_folder/forgotten.cpp" named)
if(code EQUAL 0 OR named EQUAL -1)
  message(FATAL_ERROR "an unlisted source goes unnamed:\n${err}")
endif()
string(FIND "${err}" "src/core/listed.cpp" wrongly)
if(NOT wrongly EQUAL -1)
  message(FATAL_ERROR "a listed source is named:\n${err}")
endif()

run_check(code err src/core/listed.cpp src/core/new_folder/forgotten.cpp)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "fails with every source listed:\n${err}")
endif()
