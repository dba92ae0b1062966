# Resize beside OpenCV's resize and swscale.
fc_add_bench(bench_resize resize_bench.cpp)
