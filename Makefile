# The README's commands. `make run` and `make test` install what is missing first.
BUILD ?= build
BENCH_BUILD ?= build-bench
WERROR ?= OFF
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test package icons bench screenshots format clean

all: build

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHALVIX_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The program starts on a copy of the sample plan in a scratch folder, so the
# repository is never written; a plan saved there is kept for the next run.
run: build
	@mkdir -p $(BUILD)/run
	@[ -e $(BUILD)/run/default.flt ] || cp examples/sample.flt $(BUILD)/run/default.flt
	@if [ -x $(BUILD)/src/app/halvix ]; then cd $(BUILD)/run && ../src/app/halvix; \
	else $(BUILD)/src/app/halvix-navlog $(BUILD)/run/default.flt; fi

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# A Debian package of the program in $(BUILD)/.
package: build
	@cd $(BUILD) && cpack -G DEB

# The icon's PNGs, drawn again from its SVG (needs rsvg-convert, librsvg2-bin).
icons:
	@for size in 48 256; do \
	  rsvg-convert -w $$size -h $$size packaging/icons/halvix.svg -o packaging/icons/halvix-$$size.png; \
	done

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
