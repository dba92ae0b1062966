# What `cmake --install build --prefix P` puts under P:
#   lib/                      the two shared libraries with their soname links
#   include/framecraft/       the public headers, in their source folders
#   lib/cmake/Framecraft/     package config and version file, exporting
#                             Framecraft::primitives and Framecraft::components
#   lib/pkgconfig/            framecraft.pc and framecraft-components.pc
#   bin/framecraft            the command-line tool
#   share/framecraft/examples the example form files
include(CMakePackageConfigHelpers)

set(FC_INSTALL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Framecraft)

# The C interface of the primitives: plain C headers.
set(FC_PUBLIC_C_HEADERS
  dispatch/Fcimagedefs.h dispatch/primitives.h dispatch/entry_lists.h dispatch/export.h
  dispatch/entry_table.def)
# Headers of the C++ API's folders that only the library's sources include.
set(FC_INTERNAL_HEADERS
  platform/runtime/form_lexer.h platform/runtime/form_property_values.h platform/runtime/picture_decoders.h
  contracts/video/helper_row_kernels.h contracts/video/region_walk.h
  plugins/plugin_frames.h platform/media/reader_decoder.h platform/media/reader_source.h
  platform/media/codec_threads.h)
file(GLOB FC_PUBLIC_CXX_HEADERS RELATIVE ${PROJECT_SOURCE_DIR} CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/platform/*/*.h ${PROJECT_SOURCE_DIR}/contracts/*/*.h
  ${PROJECT_SOURCE_DIR}/package/*.h ${PROJECT_SOURCE_DIR}/components/*.h
  ${PROJECT_SOURCE_DIR}/plugins/*.h ${PROJECT_SOURCE_DIR}/media/*.h)
list(REMOVE_ITEM FC_PUBLIC_CXX_HEADERS ${FC_INTERNAL_HEADERS})
foreach(header IN LISTS FC_PUBLIC_C_HEADERS FC_PUBLIC_CXX_HEADERS)
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES ${header} DESTINATION ${FC_INSTALL_INCLUDE_DIR}/${folder} COMPONENT development)
endforeach()

# The plug-in interface, plain C, which plug-in authors include as
# <framecraft/freeframe.h> with nothing else of Framecraft.
install(FILES include/framecraft/freeframe.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/framecraft
  COMPONENT development)

# The components library finds libframecraft.so beside it, wherever the
# prefix is (a program's RUNPATH does not serve its libraries' own needs).
set_target_properties(framecraft_components PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS framecraft framecraft_components EXPORT FramecraftTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
  INCLUDES DESTINATION ${FC_INSTALL_INCLUDE_DIR})
install(EXPORT FramecraftTargets NAMESPACE Framecraft:: DESTINATION ${FC_INSTALL_CMAKE_DIR}
  COMPONENT development)

configure_package_config_file(cmake/FramecraftConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/FramecraftConfig.cmake INSTALL_DESTINATION ${FC_INSTALL_CMAKE_DIR})
# Before 1.0 a minor version may change the API: only the same minor matches.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/FramecraftConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/FramecraftConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/FramecraftConfigVersion.cmake
  DESTINATION ${FC_INSTALL_CMAKE_DIR} COMPONENT development)

foreach(pc framecraft framecraft-components)
  configure_file(cmake/${pc}.pc.in ${CMAKE_CURRENT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
    COMPONENT development)
endforeach()

# The tool finds the libraries beside it, wherever the prefix is.
set_target_properties(framecraft_cli PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
install(TARGETS framecraft_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
file(GLOB FC_EXAMPLE_FORMS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*.fcf)
install(FILES ${FC_EXAMPLE_FORMS} DESTINATION ${CMAKE_INSTALL_DATADIR}/framecraft/examples COMPONENT runtime)
# The sources of the example effect plug-ins, to start a plug-in from.
install(FILES examples/plugins/invert.c examples/plugins/blend.c
  DESTINATION ${CMAKE_INSTALL_DATADIR}/framecraft/examples/plugins COMPONENT runtime)
