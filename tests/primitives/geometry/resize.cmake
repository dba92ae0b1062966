# Test sources of this family, relative to tests/primitives/.
list(APPEND GEOMETRY_TESTS
  geometry/resize_status_test.cpp
  geometry/resize_kernels_test.cpp
  geometry/resize_lanczos_test.cpp)
