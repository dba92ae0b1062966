# Tests of form files: the text format, and loading and saving components.
fc_add_framework_test_executable(test_forms
  ${CMAKE_CURRENT_LIST_DIR}/form_round_trip_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_syntax_error_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_test_components.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_loader_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_saver_test.cpp)
