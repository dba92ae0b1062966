# The form-file format: document model, lexer, reader and writer.
add_library(fc_forms OBJECT
  ${CMAKE_CURRENT_LIST_DIR}/form_error.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_document.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_lexer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_writer.cpp)
