# The two commands of the README:
#   make run   - install what is missing, build, lay out the program folder, open the window
#   make test  - the same set-up, then every test through ctest, the tests again
#                with the sanitizers (build-asan), and each fuzz target for 10 s;
#                the build treats every warning as an error
# for the edit-compile-test loop:
#   make check - the build (warnings as errors) and the tests but the long
#                comparisons and the Python package's tests
# and for hardening work:
#   make sanitize-test  - the tests but the long comparisons, built with
#                         AddressSanitizer and UndefinedBehaviorSanitizer
#   make fuzz           - each fuzz target for FUZZ_TIME seconds (default 60)
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
CACHE ?= $(HOME)/.cache/vantel
JOBS ?= 2
FUZZ_TIME ?= 60
FUZZ_TEST_TIME ?= 10

.PHONY: setup configure build run check test bench sanitize-build sanitize-run sanitize-test fuzz-build fuzz clean

setup:
	@bash tools/setup.sh "$(CACHE)"

# make test and make check build with VANTEL_WERROR=ON; the other targets keep
# what the build folder was last configured with, so that switching between
# them builds nothing again.
WERROR ?=
check test: WERROR = ON

configure: setup
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTEL_MNIST_CACHE="$(CACHE)/mnist" $(if $(WERROR),-DVANTEL_WERROR=$(WERROR)) > $(BUILD).configure.log 2>&1 || (cat $(BUILD).configure.log; exit 1)

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash tools/run.sh "$(BUILD)/bin/vantel_calculator"

check: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE 'long|python'

test: build sanitize-build fuzz-build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory sanitize-run
	@bash tests/fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_TEST_TIME)

bench: build
	@cmake --build $(BUILD) --target benchmarks -j $(JOBS)
	@for b in $(BUILD)/bin/bench_*; do echo "== $$b"; $$b; done
	@echo "== bench/bench_python.py"; PYTHONPATH=$(BUILD)/python VANTEL_MNIST="$(CACHE)/mnist" /usr/bin/python3 bench/bench_python.py

sanitize-build: setup
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTEL_SANITIZE=ON -DVANTEL_MNIST_CACHE="$(CACHE)/mnist" > $(ASAN_BUILD).configure.log 2>&1 || (cat $(ASAN_BUILD).configure.log; exit 1)
	@cmake --build $(ASAN_BUILD) -j $(JOBS)

# Every program of the sanitizer build carries the options that make a
# sanitizer report fail it (tests/sanitizers, linked in by the top-level
# CMakeLists.txt), so a plain ctest there does the same.
sanitize-run:
	@cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) -LE long

sanitize-test: sanitize-build
	@$(MAKE) --no-print-directory sanitize-run

fuzz-build: setup
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DVANTEL_FUZZ=ON > $(FUZZ_BUILD).configure.log 2>&1 || (cat $(FUZZ_BUILD).configure.log; exit 1)
	@cmake --build $(FUZZ_BUILD) --target fuzz_targets -j $(JOBS)

fuzz: fuzz-build
	@bash tests/fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_TIME)

clean:
	rm -rf $(BUILD) $(BUILD).configure.log $(ASAN_BUILD) $(ASAN_BUILD).configure.log $(FUZZ_BUILD) $(FUZZ_BUILD).configure.log
