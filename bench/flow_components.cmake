# The rate changer's blends and the frame differences beside OpenCV.
fc_add_bench(bench_flow_components flow_components_bench.cpp)
fc_link_package(bench_flow_components)
