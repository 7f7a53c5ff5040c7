# Native build (Linux): the modules on the fakes, under GoogleTest.
find_package(GTest REQUIRED)
include(GoogleTest)

veltrane_sources(TEST_SOURCES tests)
if(TEST_SOURCES)
  add_executable(veltrane_tests ${TEST_SOURCES})
  target_include_directories(veltrane_tests PRIVATE tests)
  target_link_libraries(veltrane_tests PRIVATE veltrane_fake GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(veltrane_tests PRIVATE VELTRANE_ART_DIR="${CMAKE_SOURCE_DIR}/resources/art")
  gtest_discover_tests(veltrane_tests DISCOVERY_MODE PRE_TEST)
endif()

# The one-way layer order of src/, checked on every include.
add_test(NAME layers COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_SOURCE_DIR}/src
  -P ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake)
# ...and that check catches what it is there for, on small broken trees.
add_test(NAME layers_catch COMMAND ${CMAKE_COMMAND} -DCHECK=${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake
  -DWORK=${CMAKE_BINARY_DIR}/layers_catch -P ${CMAKE_SOURCE_DIR}/tests/build_rules/layers_catch.cmake)
# Every .cpp under src/ is in a list, or the configure stops (cmake/sources.cmake);
# that check catches a forgotten one.
add_test(NAME listed_sources_catch COMMAND ${CMAKE_COMMAND} -DCHECK=${CMAKE_SOURCE_DIR}/cmake/listed_sources.cmake
  -DWORK=${CMAKE_BINARY_DIR}/listed_catch -P ${CMAKE_SOURCE_DIR}/tests/build_rules/listed_catch.cmake)
