# The README's commands. `make run` and `make test` install what is missing first.
BUILD ?= build
PACKAGE_BUILD ?= build-deb
BENCH_BUILD ?= build-bench
SANITIZE_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 300
FUZZ_TARGETS = fuzz_plan fuzz_roundtrip fuzz_print fuzz_route fuzz_winds \
  fuzz_ourairports fuzz_aptdat fuzz_navdat fuzz_fixdat fuzz_gzlines fuzz_index
WERROR ?= OFF
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test test-sanitize fuzz package icons bench screenshots format clean

all: build

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHALVIX_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The program starts on a copy of the sample plan in a scratch folder, so the
# repository is never written; a plan saved there is kept for the next run.
# Only the programs are built, not the tests.
run: configure
	@cmake --build $(BUILD) -j $(JOBS) --target halvix halvix-navlog
	@mkdir -p $(BUILD)/run
	@[ -e $(BUILD)/run/default.flt ] || cp examples/sample.flt $(BUILD)/run/default.flt
	@cd $(BUILD)/run && \
	HALVIX_AVIATION_DATA="$${HALVIX_AVIATION_DATA:-$(CURDIR)/examples/aviation-sample}" ../src/app/halvix

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# A Debian package of the program in $(PACKAGE_BUILD)/, built apart from the
# developer's build with the distribution's compiler and linker flags
# (hardening: fortify, stack protector, full RELRO) and without the tests,
# then checked by lintian where it is installed.
package: deps
	@eval "$$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"; \
	cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=None -DHALVIX_WERROR=$(WERROR) \
	  -DCMAKE_CXX_FLAGS="$$CPPFLAGS $$CXXFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$$LDFLAGS" \
	  -DCMAKE_MODULE_LINKER_FLAGS="$$LDFLAGS" >/dev/null
	@cmake --build $(PACKAGE_BUILD) -j $(JOBS) --target halvix_installed
	@cd $(PACKAGE_BUILD) && cpack -G DEB
	@deb=$$(ls -t $(PACKAGE_BUILD)/halvix_*.deb | head -n 1); \
	if command -v lintian >/dev/null; then lintian --fail-on error,warning "$$deb"; \
	else echo "lintian is not installed: $$deb is not checked"; fi

# The icon's PNGs, drawn again from its SVG (needs rsvg-convert, librsvg2-bin).
icons:
	@for size in 48 256; do \
	  rsvg-convert -w $$size -h $$size packaging/icons/halvix.svg -o packaging/icons/halvix-$$size.png; \
	done

# The whole test suite built by clang with AddressSanitizer and
# UndefinedBehaviorSanitizer; the first error fails the test.
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DHALVIX_SANITIZE=ON -DHALVIX_WERROR=$(WERROR) >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	@cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_stack_use_after_return=1:strict_string_checks=1 \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# Each fuzz target for FUZZ_SECONDS (clang's libFuzzer, under the same
# sanitizers), starting from the seed corpus in tests/fuzz/corpus, or in
# tests/fuzz/data-corpus/TARGET for the data readers and the index.
fuzz: deps
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DHALVIX_SANITIZE=ON -DHALVIX_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(FUZZ_TARGETS)
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t; \
	  seeds=tests/fuzz/corpus; [ -d tests/fuzz/data-corpus/$$t ] && seeds=tests/fuzz/data-corpus/$$t; \
	  echo "fuzzing $$t for $(FUZZ_SECONDS) s"; \
	  if ! $(FUZZ_BUILD)/tests/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	      -artifact_prefix=$(FUZZ_BUILD)/$$t- $(FUZZ_BUILD)/corpus/$$t $$seeds \
	      > $(FUZZ_BUILD)/$$t.log 2>&1; then \
	    tail -n 60 $(FUZZ_BUILD)/$$t.log; echo "$$t FAILED"; exit 1; \
	  fi; \
	  grep -E '^stat::(number_of_executed_units|peak_rss_mb)|^Done' $(FUZZ_BUILD)/$$t.log; \
	done

bench: deps
	@cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DHALVIX_BENCH=ON >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bench/bench_*; do [ -x $$b ] && QT_QPA_PLATFORM=offscreen $$b; done

screenshots: build
	@mkdir -p $(BUILD)/screenshots
	@QT_QPA_PLATFORM=offscreen $(BUILD)/src/app/halvix-screenshots examples/sample.flt $(BUILD)/screenshots \
		examples/sample-route.gpx

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(PACKAGE_BUILD) $(BENCH_BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD)
