# Test sources of this family, relative to tests/primitives/.
list(APPEND COLOR_TESTS
  color/gamma_test.cpp
  color/color_twist_test.cpp
  color/color_twist_fixed_point_test.cpp
  color/threshold_test.cpp
  color/histogram_even_test.cpp
  color/fill_and_planar_copy_test.cpp
  color/noise_test.cpp
  color/jaehne_test.cpp)
