# Convenience wrapper around CMake. `make run` builds seqsmith and converts
# the bundled example; `make test` builds and runs every test.

BUILD      ?= build
BUILD_ASAN ?= build-asan
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_ARGS ?=

.PHONY: all build run test test-asan prereqs clean

all: build

prereqs:
	@sh tools/check-prereqs.sh

$(BUILD)/CMakeCache.txt: | prereqs
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

build: prereqs $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/app/seqsmith $(BUILD)/examples/demo.mid
	@echo "--- $(BUILD)/examples/demo.tune"
	@tr -d '\r' < $(BUILD)/examples/demo.tune

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

$(BUILD_ASAN)/CMakeCache.txt: | prereqs
	cmake -S . -B $(BUILD_ASAN) -DCMAKE_BUILD_TYPE=Debug -DSEQSMITH_SANITIZE=ON $(CMAKE_ARGS)

test-asan: prereqs $(BUILD_ASAN)/CMakeCache.txt
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(BUILD_ASAN) --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(BUILD_ASAN)
