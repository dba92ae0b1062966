# The histogram component beside OpenCV's histogram.
fc_add_bench(bench_histogram histogram_bench.cpp)
fc_link_package(bench_histogram)
