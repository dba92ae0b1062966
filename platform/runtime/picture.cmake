# Pictures and bitmaps of the host's graphics layer. JPEG and PNG are decoded
# with libjpeg and libpng (found through pkg-config); BMP and GIF with the stb
# decoder compiled into picture.cpp.
find_package(PkgConfig REQUIRED)
pkg_check_modules(JPEG REQUIRED IMPORTED_TARGET libjpeg)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng16)
target_sources(fc_framework PRIVATE ${CMAKE_CURRENT_LIST_DIR}/picture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jpeg_decoder.cpp ${CMAKE_CURRENT_LIST_DIR}/png_decoder.cpp)
target_link_libraries(fc_framework PRIVATE PkgConfig::JPEG PkgConfig::PNG)
