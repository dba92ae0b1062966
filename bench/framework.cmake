# The framework's frames, helpers and filter base beside OpenCV and memcpy.
fc_add_bench(bench_framework framework_bench.cpp)
target_link_libraries(bench_framework PRIVATE fc_framework)
