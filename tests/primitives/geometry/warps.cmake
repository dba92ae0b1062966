# Test sources of this family, relative to tests/primitives/.
list(APPEND GEOMETRY_TESTS
  geometry/rotate_shear_test.cpp
  geometry/warp_test.cpp
  geometry/warp_random_args_test.cpp
  geometry/rotate_fpu_test.cpp)

# Makes the first rotation call of a fresh process and reports the x87
# control word; the geometry tests learn its path once their target exists.
add_executable(rotate_fpu_probe geometry/rotate_fpu_probe.cpp)
target_link_libraries(rotate_fpu_probe PRIVATE framecraft)
cmake_language(DEFER CALL target_compile_definitions test_primitives_geometry PRIVATE
  "ROTATE_FPU_PROBE_PATH=\"$<TARGET_FILE:rotate_fpu_probe>\"")
cmake_language(DEFER CALL add_dependencies test_primitives_geometry rotate_fpu_probe)
