# Rotation and perspective warps beside OpenCV's affine and perspective warps.
fc_add_bench(bench_warps warps_bench.cpp)
