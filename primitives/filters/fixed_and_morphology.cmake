# Sources of this family, relative to primitives/.
target_sources(fc_primitives PRIVATE
  filters/fixed_kernel_filters.cpp
  filters/mask_runs.cpp
  filters/morphology_checks.cpp
  filters/morphology_filters.cpp
  filters/morphology_state.cpp)
fc_add_primitive_variants(filters/fixed_and_morphology t7)
fc_add_primitive_variants(filters/morphology t7)
