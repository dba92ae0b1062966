# Test sources of this family, relative to tests/primitives/.
list(APPEND GEOMETRY_TESTS
  geometry/rotate_shear_test.cpp)
