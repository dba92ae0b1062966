# The base package's helper primitives beside OpenCV; the row loops are
# timed directly too.
fc_add_bench(bench_helper_primitives helper_primitives_bench.cpp)
fc_link_package(bench_helper_primitives)
target_link_libraries(bench_helper_primitives PRIVATE fc_helper_row_kernels)
