# Sources of this family, relative to primitives/.
target_sources(fc_primitives PRIVATE
  filters/rank_support.cpp
  filters/rank_kernels_generic.cpp
  filters/box_divisor.cpp
  filters/box_filter.cpp
  filters/min_max_filter.cpp
  filters/median_column.cpp
  filters/median_histogram.cpp
  filters/median_filter.cpp
  filters/median_cross_filter.cpp
  filters/median_color_filter.cpp)
fc_add_primitive_variants(filters/rank t7)
fc_add_primitive_variants(filters/box_filter t7)
