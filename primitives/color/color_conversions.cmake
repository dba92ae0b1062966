# Sources of this family, relative to primitives/.
set(FC_COLOR_CONVERSION_KERNELS
  ${CMAKE_CURRENT_SOURCE_DIR}/color/yuv_ycbcr_ycc.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/color/xyz.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/color/hsv_hls.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/color/luv.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/color/lab.cpp)
target_sources(fc_primitives PRIVATE ${FC_COLOR_CONVERSION_KERNELS})
fc_add_primitive_variants(color/color_conversions a6 w7 t7)

# The colour kernels never read floating-point exception flags. Without trap
# semantics the compiler may evaluate both arms of a selection, which lets it
# vectorise the kernels; the arithmetic stays exact IEEE (no contraction, no
# reassociation).
set_property(SOURCE ${FC_COLOR_CONVERSION_KERNELS}
  ${CMAKE_CURRENT_SOURCE_DIR}/color/color_conversions_a6.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/color/color_conversions_w7.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/color/color_conversions_t7.cpp
  DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY COMPILE_OPTIONS -fno-trapping-math)
