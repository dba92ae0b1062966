# The filter components beside OpenCV.
fc_add_bench(bench_filter_components filter_components_bench.cpp)
fc_link_package(bench_filter_components)
