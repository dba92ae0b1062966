# Sources of this family, relative to primitives/.
target_sources(fc_primitives PRIVATE
  geometry/warp_checks.cpp
  geometry/quad_spans.cpp
  geometry/warp_kernels.cpp
  geometry/edge_smoothing.cpp
  geometry/affine_engine.cpp
  geometry/right_angle_rotation.cpp
  geometry/rotate_shear.cpp
  geometry/bilinear_inverse.cpp
  geometry/warp_perspective.cpp
  geometry/warp_bilinear.cpp
  geometry/warp_coefficients.cpp
  geometry/warp_entries.cpp)
fc_add_primitive_variants(geometry/warps t7)
