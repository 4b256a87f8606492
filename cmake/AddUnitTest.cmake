# add_unit_test(NAME SOURCES file... LIBS target...)
# One GoogleTest executable per unit, its cases registered with CTest.
include(GoogleTest)
function(add_unit_test NAME)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${NAME} ${ARG_SOURCES})
  target_link_libraries(${NAME} PRIVATE test_support ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${NAME} DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES TIMEOUT 120 ENVIRONMENT "VELTRA_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data")
endfunction()
