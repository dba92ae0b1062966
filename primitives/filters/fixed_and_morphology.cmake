# Sources of this family, relative to primitives/.
target_sources(fc_primitives PRIVATE
  filters/fixed_kernel_filters.cpp
  filters/morphology_checks.cpp
  filters/morphology_filters.cpp
  filters/morphology_state.cpp)

# SIMD variants: the same code compiled for the variant's instructions, with
# the full vectoriser cost model so that it is vectorised from -O2 on.
set(FC_FIXED_AND_MORPHOLOGY_VARIANTS ${CMAKE_CURRENT_SOURCE_DIR}/filters/fixed_and_morphology_t7.cpp)
target_sources(fc_primitives PRIVATE ${FC_FIXED_AND_MORPHOLOGY_VARIANTS})
set_property(SOURCE ${FC_FIXED_AND_MORPHOLOGY_VARIANTS}
  DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY COMPILE_OPTIONS -ftree-vectorize -fvect-cost-model=dynamic)
