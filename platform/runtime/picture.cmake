# Pictures and bitmaps of the host's graphics layer. JPEG is decoded with
# libjpeg (found through pkg-config); PNG, BMP and GIF with the stb decoder
# compiled into picture.cpp.
find_package(PkgConfig REQUIRED)
pkg_check_modules(JPEG REQUIRED IMPORTED_TARGET libjpeg)
target_sources(fc_framework PRIVATE ${CMAKE_CURRENT_LIST_DIR}/picture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jpeg_decoder.cpp)
target_link_libraries(fc_framework PRIVATE PkgConfig::JPEG)
