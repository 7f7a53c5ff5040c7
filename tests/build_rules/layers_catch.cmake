cmake_minimum_required(VERSION 3.25)
# The layer check on small trees: a sound one passes, and each with one wrong
# include fails naming it.
# cmake -DCHECK=<check_layers.cmake> -DWORK=<scratch folder> -P layers_catch.cmake
set(sound
  "platform/files.h|#pragma once"
  "platform/win32/win32_files.cpp|#include <windows.h>\n#include \"platform/files.h\""
  "platform/win32/entry/winmain.cpp|#include \"app/program.h\""
  "platform/fake/fake_files.cpp|#include \"platform/files.h\""
  "core/text.h|#include \"platform/files.h\""
  "app/program.h|#include \"core/text.h\"")
set(broken
  "core/uses_real.h|#include \"platform/win32/win32_files.h\""
  "app/uses_fake.cpp|#include \"platform/fake/fake_files.h\""
  "platform/fake/uses_real.cpp|#include \"platform/win32/handles.h\""
  "platform/win32/uses_app.cpp|#include \"app/program.h\""
  "scan/windows_api.cpp|#include <Windows.h>"
  "core/windows_api.h|#  include \"WINDOWS.H\"")

function(make_tree root)
  file(REMOVE_RECURSE ${root})
  foreach(entry IN LISTS ARGN)
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 path)
    list(GET parts 1 text)
    string(REPLACE "\\n" "\n" text "${text}")
    file(WRITE ${root}/${path} "${text}\n")
  endforeach()
endfunction()

function(run_check root result output)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSRC=${root} -P ${CHECK} RESULT_VARIABLE code ERROR_VARIABLE err
                  OUTPUT_QUIET)
  set(${result} ${code} PARENT_SCOPE)
  set(${output} "${err}" PARENT_SCOPE)
endfunction()

make_tree(${WORK}/sound ${sound})
run_check(${WORK}/sound code err)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "the sound tree fails:\n${err}")
endif()

foreach(bad IN LISTS broken)
  string(REGEX MATCH "^[^|]+" path "${bad}")
  make_tree(${WORK}/broken ${sound} "${bad}")
  run_check(${WORK}/broken code err)
  if(code EQUAL 0)
    message(FATAL_ERROR "passes with ${bad}")
  endif()
  string(FIND "${err}" "${path}:" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "fails with ${bad} without naming it:\n${err}")
  endif()
endforeach()
