# Sources of this family, relative to primitives/.
target_sources(fc_primitives PRIVATE
  color/gamma.cpp
  color/color_twist.cpp
  color/threshold.cpp
  color/histogram_even.cpp
  color/fill_and_planar_copy.cpp
  color/noise.cpp
  color/jaehne.cpp)

# SIMD variants, relative to primitives/ as well.
target_sources(fc_primitives PRIVATE
  color/point_operations_a6.cpp
  color/point_operations_w7.cpp
  color/point_operations_t7.cpp)
