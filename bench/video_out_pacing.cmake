# Frame-interval jitter of the video output paced by its device's clock
# (about two minutes: 1,000 frames at 25 and at 60 per second, twice).
fc_add_bench(bench_video_out_pacing video_out_pacing_bench.cpp)
fc_link_package(bench_video_out_pacing)
