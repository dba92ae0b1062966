# The framework's frames, helpers and filter base beside OpenCV and memcpy.
fc_add_bench(bench_framework framework_bench.cpp)
fc_link_package(bench_framework)
