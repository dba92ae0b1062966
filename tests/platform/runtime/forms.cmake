# Tests of form files.
fc_add_framework_test_executable(test_forms
  ${CMAKE_CURRENT_LIST_DIR}/form_round_trip_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_syntax_error_test.cpp)
