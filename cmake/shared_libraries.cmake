# The two shared libraries users link, built from the object libraries:
#   libframecraft.so             the C primitive interface (Framecraft::primitives)
#   libframecraft-components.so  the C++ API: runtime core, pins, base video
#                                package, platform layers, package registration
#                                and components (Framecraft::components)
# Everything is compiled with hidden visibility. libframecraft.so publishes
# what dispatch/exports.map lists; libframecraft-components.so publishes what
# carries FC_COMPONENTS_API (platform/runtime/components_api.h).
#
# While the version starts with 0 the C++ API changes between minor
# versions, so the soname carries major and minor: libframecraft.so.0.1.

set(FC_SOVERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
# Headers are installed under <prefix>/include/framecraft and included as in
# the source tree: "dispatch/primitives.h", "components/Fcresize.h" ...
set(FC_INSTALL_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/framecraft)

# Refuses undefined symbols at link time, so a missing definition fails the
# build instead of the first program that loads the library. Sanitizer
# runtimes resolve their symbols from the executable, so not there.
function(fc_refuse_undefined target)
  if(NOT FRAMECRAFT_SANITIZE)
    target_link_options(${target} PRIVATE -Wl,--no-undefined)
  endif()
endfunction()

add_library(framecraft SHARED $<TARGET_OBJECTS:fc_primitives>)
add_library(Framecraft::primitives ALIAS framecraft)
set_target_properties(framecraft PROPERTIES
  OUTPUT_NAME framecraft
  EXPORT_NAME primitives
  VERSION ${PROJECT_VERSION}
  SOVERSION ${FC_SOVERSION}
  LINK_DEPENDS ${PROJECT_SOURCE_DIR}/dispatch/exports.map)
target_include_directories(framecraft PUBLIC
  $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}> $<INSTALL_INTERFACE:${FC_INSTALL_INCLUDE_DIR}>)
target_link_options(framecraft PRIVATE -Wl,--version-script=${PROJECT_SOURCE_DIR}/dispatch/exports.map)
# A row of the entry table without its px code must fail here, not at load.
fc_refuse_undefined(framecraft)

# Linking the object libraries directly puts their objects into the library
# and carries their own link dependencies along; an object library added to
# the C++ API is listed here.
add_library(framecraft_components SHARED)
add_library(Framecraft::components ALIAS framecraft_components)
set_target_properties(framecraft_components PROPERTIES
  OUTPUT_NAME framecraft-components
  EXPORT_NAME components
  VERSION ${PROJECT_VERSION}
  SOVERSION ${FC_SOVERSION})
target_link_libraries(framecraft_components
  PRIVATE fc_framework fc_helper_row_kernels fc_package fc_components
  PUBLIC framecraft Threads::Threads)
target_compile_features(framecraft_components PUBLIC cxx_std_20)
fc_refuse_undefined(framecraft_components)
