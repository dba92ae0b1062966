# Form files: the document model, reader and writer of the text format, and
# the loader and saver that map documents onto live components.
target_sources(fc_framework PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/form_error.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_document.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_lexer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_defined_data.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_property_values.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_loader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form_saver.cpp)
