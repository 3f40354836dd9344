# The README's commands. `make run` and `make test` install what is missing first.
BUILD ?= build
BENCH_BUILD ?= build-bench
WERROR ?= OFF
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench screenshots format clean

all: build

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHALVIX_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/src/app/halvix ]; then $(BUILD)/src/app/halvix; \
	else $(BUILD)/src/app/halvix-navlog examples/sample.flt; fi

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: deps
	@cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DHALVIX_BENCH=ON >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bench/bench_*; do [ -x $$b ] && QT_QPA_PLATFORM=offscreen $$b; done

screenshots: build
	@mkdir -p $(BUILD)/screenshots
	@QT_QPA_PLATFORM=offscreen $(BUILD)/src/app/halvix-screenshots examples/sample.flt $(BUILD)/screenshots

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(BENCH_BUILD)
