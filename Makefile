# Entry points: `make run` and `make test` install what is missing, build, then run.
# The other checks keep build folders of their own: `make test-release` (GCC, Release),
# `make test-sanitize` (the suite under SANITIZE), `make test-tsan` (the worker threads under
# ThreadSanitizer), `make fuzz` (clang, each fuzzer for
# FUZZ_SECONDS). BUILD_LOCK prefixes every build command, e.g. "flock /tmp/build.lock" on a
# machine whose builds must not run side by side.
BUILD_DIR ?= build
RELEASE_DIR ?= build-release
SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
TSAN_DIR ?= build-tsan
SANITIZE ?= address,undefined
FUZZ_SECONDS ?= 60
BUILD_LOCK ?=
JOBS ?= $(shell nproc)
EXAMPLE_CHART = -Yn -b0 -c 0 qa 7 12 1985 14:05 -3 037e35 55n45
CMAKE_CONFIGURE = cmake -S . -G Ninja

.PHONY: all deps configure build run example test bench clean test-release test-sanitize test-tsan fuzz

all: build

deps:
	@./scripts/install-deps.sh

configure: deps
	@$(CMAKE_CONFIGURE) -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@$(BUILD_LOCK) cmake --build $(BUILD_DIR) -j $(JOBS)

# The program's window; without a display it says so and ends.
run: build
	$(BUILD_DIR)/bin/kelvara

example: build
	$(BUILD_DIR)/bin/kelvara-engine $(EXAMPLE_CHART)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

test-release: deps
	@$(CMAKE_CONFIGURE) -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@$(BUILD_LOCK) cmake --build $(RELEASE_DIR) -j $(JOBS)
	cd $(RELEASE_DIR) && ctest --output-on-failure -j $(JOBS)

# Benchmarks say nothing under the sanitizers, so they are left out of that build.
test-sanitize: deps
	@$(CMAKE_CONFIGURE) -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVARA_SANITIZE=$(SANITIZE) \
	  -DKELVARA_WITH_BENCH=OFF >/dev/null
	@$(BUILD_LOCK) cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && ctest --output-on-failure -j $(JOBS)

# The threads of the event scanner under ThreadSanitizer: only the tests that run them.
test-tsan: deps
	@$(CMAKE_CONFIGURE) -B $(TSAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVARA_TSAN=ON \
	  -DKELVARA_WITH_QT=OFF -DKELVARA_WITH_BENCH=OFF >/dev/null
	@$(BUILD_LOCK) cmake --build $(TSAN_DIR) -j $(JOBS) --target eventmap_scanner_tests platform_tests
	cd $(TSAN_DIR) && ctest --output-on-failure -j $(JOBS) -R '^(ScannerTest|VisibleEvents|Worker)\.'

# The fuzzers need neither Qt nor the benchmarks; only their own targets are built.
fuzz: deps
	@CC=clang-14 CXX=clang++-14 $(CMAKE_CONFIGURE) -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DKELVARA_FUZZ=ON -DKELVARA_WITH_QT=OFF -DKELVARA_WITH_BENCH=OFF >/dev/null
	@$(BUILD_LOCK) cmake --build $(FUZZ_DIR) -j $(JOBS) --target kelvara_fuzzers
	@./scripts/run-fuzzers.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

bench: build
	@for b in $(BUILD_DIR)/bench/*; do echo "== $$b"; $$b --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done

clean:
	rm -rf $(BUILD_DIR) $(RELEASE_DIR) $(SANITIZE_DIR) $(FUZZ_DIR) $(TSAN_DIR)
