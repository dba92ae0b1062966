# The effect hosts beside calling their effects directly.
fc_add_bench(bench_effect_hosts effect_hosts_bench.cpp)
fc_link_package(bench_effect_hosts)
target_include_directories(bench_effect_hosts PRIVATE ${PROJECT_SOURCE_DIR}/include)
target_compile_definitions(bench_effect_hosts PRIVATE FC_EXAMPLE_FF_INVERT="$<TARGET_FILE:ff_invert>")
add_dependencies(bench_effect_hosts ff_invert)
