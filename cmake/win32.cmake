# Cross build (mingw-w64 i686): the real platform layer, the program and the
# contract tests, which ctest runs under Wine through the emulator wrapper.
add_link_options(-static -static-libgcc -static-libstdc++)
# Tests run under Wine in a prefix kept inside this build folder.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-run ${CMAKE_BINARY_DIR}/wineprefix)

add_library(veltrane_win32 STATIC ${WIN32_SOURCES})
target_link_libraries(veltrane_win32 PUBLIC veltrane_core
  user32 gdi32 advapi32 kernel32 msimg32 ntdll)

# GoogleTest from Debian's sources, built for Windows.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

veltrane_sources(WIN32_TEST_SOURCES tests/win32)
if(WIN32_TEST_SOURCES)
  add_executable(veltrane_win32_tests ${WIN32_TEST_SOURCES})
  target_include_directories(veltrane_win32_tests PRIVATE tests tests/win32)
  target_link_libraries(veltrane_win32_tests PRIVATE veltrane_win32 veltrane_fake gtest gmock gtest_main ole32)
  # Their set-up, which goes straight through the Windows API.
  target_sources(veltrane_win32_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/win32/support/setup.cpp)
  # One ctest entry: every Wine start costs a second, so the suite runs in one process.
  add_test(NAME win32_contract COMMAND veltrane_win32_tests)
endif()

# The shipped program, veltrane.exe.
add_subdirectory(resources)

# Driving veltrane.exe from outside, for the two below.
add_subdirectory(tools/drive)

# The end-to-end harness that drives veltrane.exe from outside (tools/e2e).
add_subdirectory(tools/e2e_harness)

# The benchmark of the folder walk and the eraser under Wine (tools/bench).
add_subdirectory(tools/bench_program)

# A DLL of ours planted beside a copy of veltrane.exe under each name the
# program imports or loads: started, the program must run none of them.
add_library(veltrane_planted_mark SHARED tests/win32/planted/planted_mark.cpp)
set_target_properties(veltrane_planted_mark PROPERTIES PREFIX "")
add_executable(veltrane_planted_dll_tests tests/win32/planted/test_planted_dlls.cpp)
target_include_directories(veltrane_planted_dll_tests PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_link_options(veltrane_planted_dll_tests PRIVATE -municode)
target_link_libraries(veltrane_planted_dll_tests PRIVATE gtest advapi32)
add_test(NAME no_planted_dll_runs
  COMMAND veltrane_planted_dll_tests $<TARGET_FILE:veltrane> $<TARGET_FILE:veltrane_planted_mark>)
