# Stops the configure with the name of every .cpp under <base>/<folder> that
# none of the given lists holds (paths relative to <base>), so that a new file
# or folder is built or visibly left out, never silently dropped.
function(veltrane_check_listed base folder)
  set(watch)
  if(NOT CMAKE_SCRIPT_MODE_FILE)
    set(watch CONFIGURE_DEPENDS)  # a new file reruns the configure
  endif()
  file(GLOB_RECURSE found ${watch} RELATIVE ${base} ${base}/${folder}/*.cpp)
  set(unlisted)
  foreach(file IN LISTS found)
    if(NOT file IN_LIST ARGN)
      list(APPEND unlisted ${file})
    endif()
  endforeach()
  if(unlisted)
    list(JOIN unlisted "\n  " text)
    message(FATAL_ERROR "sources in no list of cmake/sources.cmake:\n  ${text}")
  endif()
endfunction()
