# Sources of this family, relative to primitives/.
target_sources(fc_primitives PRIVATE
  color/gamma.cpp
  color/color_twist.cpp
  color/color_twist_fixed_point.cpp
  color/threshold.cpp
  color/histogram_even.cpp
  color/fill_and_planar_copy.cpp
  color/noise.cpp
  color/jaehne.cpp)
fc_add_primitive_variants(color/point_operations a6 w7 t7)
fc_add_primitive_variants(color/color_twist t7)

# The colour twist never reads floating-point exception flags; without trap
# semantics the compiler may vectorise its selections and comparisons. The
# arithmetic stays exact IEEE (no contraction, no reassociation).
set_property(SOURCE
  ${CMAKE_CURRENT_SOURCE_DIR}/color/color_twist.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/color/point_operations_t7.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/color/color_twist_t7.cpp
  DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY COMPILE_OPTIONS -fno-trapping-math)
