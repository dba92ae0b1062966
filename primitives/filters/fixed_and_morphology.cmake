# Sources of this family, relative to primitives/.
target_sources(fc_primitives PRIVATE
  filters/gradient_filters.cpp
  filters/roberts_filters.cpp
  filters/sharpening_filters.cpp
  filters/smoothing_filters.cpp
  filters/morphology_rows.cpp
  filters/morphology_filters.cpp
  filters/morphology_state.cpp)
