# Thin wrapper over CMake presets.
.PHONY: all build test bench run clean
JOBS ?= $(shell nproc)

all: build

build:
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)

test: build
	ctest --preset release -j $(JOBS)

bench:
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS) --target kora_bench
	./build/release/bench/kora_bench

clean:
	rm -rf build
