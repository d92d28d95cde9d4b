# Tessel — the two set-up commands are `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja

.PHONY: all deps configure build run test test-core test-asan bench screenshot soak clean

all: build

deps:
	@./scripts/install-deps

configure: deps
	@test -f $(BUILD)/build.ninja || cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

$(BUILD)/demo.smc: build
	@test -f $@ || $(BUILD)/make-demo-rom $@

run: build $(BUILD)/demo.smc
	$(BUILD)/tessel $(BUILD)/demo.smc

test: build test-asan
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The core again under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	@test -f $(ASAN_BUILD)/build.ninja || cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) \
	    -DCMAKE_BUILD_TYPE=Debug -DTESSEL_SANITIZE=ON -DTESSEL_CORE_ONLY=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/*_bench; do echo "== $$b"; $$b --benchmark_counters_tabular=true || exit 1; done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
