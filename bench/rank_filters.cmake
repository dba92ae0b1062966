# Rank filters beside OpenCV's box, erode/dilate and median filters.
fc_add_bench(bench_rank_filters rank_filters_bench.cpp)
