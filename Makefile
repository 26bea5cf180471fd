# Thin wrapper over CMake presets.
.PHONY: all build test test-asan tables format format-check bench run clean
EXAMPLE ?= data/examples/ventilfeder.kra
JOBS ?= $(shell nproc)

all: build

build:
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)

test: build
	ctest --preset release -j $(JOBS)

# Every test again under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan:
	cmake --preset asan >/dev/null
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# clang-format over every C++ file git knows (format), or only a check that fails on a
# difference (format-check, run by CI).
CXX_FILES = $(shell git ls-files '*.cpp' '*.h')
format:
	clang-format -i $(CXX_FILES)
format-check:
	clang-format --dry-run --Werror $(CXX_FILES)

# Writes data/tables/*.dbf anew from data/tables/src/*.csv (the build only checks them).
tables:
	cmake --preset release >/dev/null
	cmake --build --preset release --target kora_tables_write

bench:
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS) --target kora_bench kora_bench_window
	./build/release/bench/kora_bench
	./build/release/bench/kora_bench_window

# Opens the window on the example spring; without a display it says so and prints the
# spring's full report instead (written in code page 850).
run: build
	mkdir -p build/run
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  cd build/run && ../release/kora "$(abspath $(EXAMPLE))"; \
	else \
	  echo "No display (DISPLAY is not set): the window cannot open; the full report follows."; \
	  cd build/run && ../release/kora "$(abspath $(EXAMPLE))" /I /NOGUI && \
	  iconv -f CP850 -t UTF-8 "$(basename $(notdir $(EXAMPLE))).TXT"; \
	fi

clean:
	rm -rf build
