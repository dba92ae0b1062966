# Test sources of this family, relative to tests/primitives/.
list(APPEND COLOR_TESTS
  color/color_conversion_values_test.cpp
  color/color_conversion_cube_test.cpp
  color/color_conversion_hash_test.cpp
  color/color_conversion_regions_test.cpp
  color/color_conversion_lab_test.cpp
  color/color_conversion_fpu_test.cpp)

# The x87 reset of a binder happens once per process: the probe makes the
# first call of an entry in a fresh process linked with the shared library.
add_executable(color_conversion_fpu_probe color/color_conversion_fpu_probe.cpp)
target_link_libraries(color_conversion_fpu_probe PRIVATE framecraft)
set_source_files_properties(color/color_conversion_fpu_test.cpp PROPERTIES
  COMPILE_DEFINITIONS "FPU_PROBE_PATH=\"$<TARGET_FILE:color_conversion_fpu_probe>\"")
# The colour test executable is defined after all fragments are read.
cmake_language(DEFER CALL add_dependencies test_primitives_color color_conversion_fpu_probe)
