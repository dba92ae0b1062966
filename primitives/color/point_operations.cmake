# Sources of this family, relative to primitives/.
target_sources(fc_primitives PRIVATE
  color/gamma.cpp
  color/color_twist.cpp
  color/threshold.cpp
  color/histogram_even.cpp
  color/fill_and_planar_copy.cpp
  color/noise.cpp
  color/jaehne.cpp)
fc_add_primitive_variants(color/point_operations a6 w7 t7)
