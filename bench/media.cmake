# Recording 1920x1080 frames through the file logger beside the ffmpeg
# command encoding the same frames.
fc_add_bench(bench_media media_bench.cpp)
fc_link_package(bench_media)
