# Whole pipelines of components beside the same chain of primitive calls
# and of OpenCV calls on buffers allocated once.
fc_add_bench(bench_pipeline pipeline_bench.cpp)
fc_link_package(bench_pipeline)
