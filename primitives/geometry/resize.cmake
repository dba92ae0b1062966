# Sources of this family, relative to primitives/.
target_sources(fc_primitives PRIVATE
  geometry/resize.cpp
  geometry/resize_nearest.cpp
  geometry/resize_linear.cpp
  geometry/resize_cubic.cpp
  geometry/resize_lanczos.cpp
  geometry/resize_super.cpp)
fc_add_primitive_variants(geometry/resize t7)
