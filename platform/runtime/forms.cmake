# Form files: the document model, reader and writer of the text format, and
# the interface of stored data beside published properties.
target_sources(fc_framework PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/form_error.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_document.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_lexer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_defined_data.cpp)
