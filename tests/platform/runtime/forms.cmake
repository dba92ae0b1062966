# Tests of the form-file format; they need nothing but the form code.
add_executable(test_forms
  ${CMAKE_CURRENT_LIST_DIR}/form_round_trip_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_syntax_error_test.cpp)
target_link_libraries(test_forms PRIVATE fc_forms GTest::gtest GTest::gtest_main)
gtest_discover_tests(test_forms DISCOVERY_TIMEOUT 120)
