# Entry points: `make run` and `make test` install what is missing, build, then run.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
EXAMPLE_CHART = -Yn -b0 -c 0 qa 7 12 1985 14:05 -3 037e35 55n45

.PHONY: all deps configure build run example test bench clean

all: build

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# The program's window; without a display it says so and ends.
run: build
	$(BUILD_DIR)/bin/kelvara

example: build
	$(BUILD_DIR)/bin/kelvara-engine $(EXAMPLE_CHART)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD_DIR)/bench/*; do echo "== $$b"; $$b --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done

clean:
	rm -rf $(BUILD_DIR)
