# Test sources of this family, relative to tests/primitives/.
list(APPEND FILTERS_TESTS
  filters/fixed_kernel_filters_test.cpp
  filters/morphology_test.cpp
  filters/morphology_state_test.cpp)
