# The two commands of the README:
#   make run   - install what is missing, build, lay out the program folder, open the window
#   make test  - the same set-up, then every test through ctest
BUILD ?= build
CACHE ?= $(HOME)/.cache/vantel
JOBS ?= 2

.PHONY: setup configure build run test bench clean

setup:
	@bash tools/setup.sh "$(CACHE)"

configure: setup
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTEL_MNIST_CACHE="$(CACHE)/mnist" > $(BUILD).configure.log 2>&1 || (cat $(BUILD).configure.log; exit 1)

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash tools/run.sh "$(BUILD)/bin/vantel_calculator"

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	@cmake --build $(BUILD) --target benchmarks -j $(JOBS)
	@for b in $(BUILD)/bin/bench_*; do echo "== $$b"; $$b; done

clean:
	rm -rf $(BUILD) $(BUILD).configure.log
