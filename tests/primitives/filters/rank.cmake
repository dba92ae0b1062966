# Test sources of this family, relative to tests/primitives/.
list(APPEND FILTERS_TESTS
  filters/box_filter_test.cpp
  filters/min_max_filter_test.cpp
  filters/median_filter_test.cpp
  filters/median_cross_color_test.cpp
  filters/merge_network_test.cpp)
