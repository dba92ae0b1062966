# Colour-space conversions beside OpenCV's cvtColor.
fc_add_bench(bench_color_conversions color_conversions_bench.cpp)
