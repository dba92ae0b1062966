# make test   install what is missing, build, run every test, then again under
#             AddressSanitizer + UndefinedBehaviorSanitizer, and the threading
#             tests under ThreadSanitizer
# make bench  build and run the benchmarks (BENCH_ARGS, for instance
#             --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true),
#             keep their output in build-bench/bench.log and summarise the ratios
# make demo   build the framecraft tool in build/ and run its demo pipeline
#             (PNG frames in ./demo-out/)
# make install PREFIX=P   build and install libraries, headers, CMake package,
#             pkg-config files, the tool and the example forms under P
#             (default /usr/local)
# make fuzz   build the fuzz targets with clang in build-fuzz/ and run each
#             for FUZZ_SECONDS (default 60); a crash fails with its reproducer
# make soak   stream every filter kind for SOAK_SECONDS (default 600) under
#             ThreadSanitizer while connections and settings change
# make package   build the Debian package build/framecraft_<version>_<arch>.deb
GENERATOR := -G Ninja
CTEST := ctest --output-on-failure --timeout 600 -j2

.PHONY: deps test test-release test-sanitize test-threads bench demo install package clean fuzz fuzz-build soak

deps:
	@scripts/install-deps

test: deps test-release test-sanitize test-threads

test-release:
	cmake -S . -B build $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFRAMECRAFT_BENCH=ON >/dev/null
	cmake --build build
	cd build && $(CTEST)

test-sanitize:
	cmake -S . -B build-asan $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DFRAMECRAFT_SANITIZE=address,undefined >/dev/null
	cmake --build build-asan
	cd build-asan && $(CTEST)

test-threads:
	cmake -S . -B build-tsan $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DFRAMECRAFT_SANITIZE=thread >/dev/null
	cmake --build build-tsan
	cd build-tsan && $(CTEST) -L threading

bench: deps
	cmake -S . -B build-bench $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DFRAMECRAFT_BENCH=ON >/dev/null
	cmake --build build-bench
	for b in build-bench/bench/bench_*; do echo "== $$b"; $$b $(BENCH_ARGS); done | tee build-bench/bench.log
	python3 bench/support/summarize_ratios.py build-bench/bench.log

demo: deps
	cmake -S . -B build $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFRAMECRAFT_BENCH=ON >/dev/null
	cmake --build build --target framecraft_cli
	build/tools/framecraft/framecraft demo

PREFIX ?= /usr/local

install: deps
	cmake -S . -B build $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build build
	cmake --install build --prefix "$(PREFIX)"

package: deps
	cmake -S . -B build $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build build
	cd build && cpack

FUZZ_SECONDS ?= 60
SOAK_SECONDS ?= 600

fuzz-build: deps
	cmake -S . -B build-fuzz $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 \
	  -DCMAKE_CXX_COMPILER=clang++-14 -DFRAMECRAFT_FUZZ=ON -DFRAMECRAFT_SANITIZE=address,undefined >/dev/null
	cmake --build build-fuzz --target fuzz_form fuzz_properties fuzz_picture fuzz_primitives fuzz_decompress

fuzz: fuzz-build
	tests/fuzz/run-fuzzers $(FUZZ_SECONDS)

soak: deps
	cmake -S . -B build-tsan $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DFRAMECRAFT_SANITIZE=thread >/dev/null
	cmake --build build-tsan --target framecraft_soak
	SOAK_SECONDS=$(SOAK_SECONDS) build-tsan/tests/soak/framecraft_soak

clean:
	rm -rf build build-asan build-tsan build-bench build-fuzz
