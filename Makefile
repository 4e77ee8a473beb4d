# make test: install what is missing, build with the sanitizers, run every test.
# make run:  install what is missing, build for release, run the program on examples/demo.
# make bench: the benchmarks (Release build).
# Our builds treat warnings as errors (ZIR_WERROR); a plain cmake build does not.
# make fuzz:  the fuzzers, FUZZ_SECONDS each (default 60).
# make install PREFIX=...: the programs, the desktop entry, the icon and the demo (default /usr/local).
PREFIX ?= /usr/local
JOBS ?= 2

.PHONY: deps test run bench fuzz install clean

deps:
	./scripts/install-deps

test: deps
	cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZIR_SANITIZE=ON -DZIR_WERROR=ON
	cmake --build build/test -j $(JOBS)
	cd build/test && ctest --output-on-failure -j $(JOBS)

run: deps
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DZIR_TESTS=OFF -DZIR_WERROR=ON
	cmake --build build/release -j $(JOBS)
	./scripts/run-demo build/release

bench: deps
	cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZIR_TESTS=OFF -DZIR_BENCH=ON -DZIR_WERROR=ON
	cmake --build build/bench -j $(JOBS)
	for b in build/bench/bench/*_bench; do $$b; done

fuzz:
	./scripts/install-deps clang
	./scripts/fuzz

install: deps
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DZIR_TESTS=OFF -DZIR_WERROR=OFF
	cmake --build build/release -j $(JOBS)
	cmake --install build/release --prefix $(PREFIX)

clean:
	rm -rf build
