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
  ../dispatch/variants/a6/point_operations.cpp
  ../dispatch/variants/w7/point_operations.cpp
  ../dispatch/variants/t7/point_operations.cpp)
