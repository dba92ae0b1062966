# The first components beside OpenCV.
fc_add_bench(bench_components components_bench.cpp geometry_components_bench.cpp)
fc_link_package(bench_components)
