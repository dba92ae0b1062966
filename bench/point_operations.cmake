# Point operations and generators beside their nearest OpenCV operations.
fc_add_bench(bench_point_operations point_operations_bench.cpp)
