# The base package's helper primitives beside OpenCV.
fc_add_bench(bench_helper_primitives helper_primitives_bench.cpp)
target_link_libraries(bench_helper_primitives PRIVATE fc_framework)
