# Pictures and bitmaps of the host's graphics layer; the picture decoder is
# compiled into picture.cpp from the stb headers.
target_sources(fc_framework PRIVATE ${CMAKE_CURRENT_LIST_DIR}/picture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jpeg_table_check.cpp)
