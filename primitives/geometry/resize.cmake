# Sources of this family, relative to primitives/.
target_sources(fc_primitives PRIVATE
  geometry/resize.cpp
  geometry/resize_nearest.cpp
  geometry/resize_linear.cpp
  geometry/resize_cubic.cpp
  geometry/resize_lanczos.cpp
  geometry/resize_super.cpp)

# SIMD variants, relative to primitives/ as well.
target_sources(fc_primitives PRIVATE
  geometry/resize_t7.cpp)
