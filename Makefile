# make test   install what is missing, build, run every test, then again under
#             AddressSanitizer + UndefinedBehaviorSanitizer, and the threading
#             tests under ThreadSanitizer
# make bench  build and run the benchmarks
# make demo   build the framecraft tool in build/ and run its demo pipeline
#             (PNG frames in ./demo-out/)
# make install PREFIX=P   build and install libraries, headers, CMake package,
#             pkg-config files, the tool and the example forms under P
#             (default /usr/local)
# make package   build the Debian package build/framecraft_<version>_<arch>.deb
GENERATOR := -G Ninja
CTEST := ctest --output-on-failure --timeout 600 -j2

.PHONY: deps test test-release test-sanitize test-threads bench demo install package clean

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
	for b in build-bench/bench/bench_*; do $$b; done

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

clean:
	rm -rf build build-asan build-tsan build-bench
