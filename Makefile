# Tessel — the two set-up commands are `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja
# `make soak`: the long soak's length, and its seed (a new one each run
# unless given; the test prints it so that a failure can be replayed).
SOAK_STEPS ?= 200000
SOAK_SEED  ?= $(shell date +%s)

.PHONY: all deps layers configure build run test test-asan asan-configure bench screenshot soak clean

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

# The include direction of src/ is checked first: it takes a second.
layers:
	./scripts/check-layers

test: layers build test-asan
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The sanitizer tree: the core tests and the soak test (a bounded one in
# `make test`) under AddressSanitizer and UndefinedBehaviorSanitizer. Of the
# Qt layer it builds only what the soak test needs.
asan-configure: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DTESSEL_SANITIZE=ON \
	    -DTESSEL_CORE_ONLY=OFF -DTESSEL_SOAK_ONLY=ON >/dev/null

test-asan: asan-configure
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

soak: asan-configure
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target soak_tests
	TESSEL_SOAK_STEPS=$(SOAK_STEPS) TESSEL_SOAK_SEED=$(SOAK_SEED) QT_QPA_PLATFORM=offscreen \
	    $(ASAN_BUILD)/tests/soak/soak_tests

# Every benchmark, start-up time and peak memory: one table, also written to
# $(BUILD)/bench-table.md.
bench: build $(BUILD)/demo.smc
	./scripts/bench_table.sh $(BUILD)

screenshot: build $(BUILD)/demo.smc
	./scripts/screenshot.sh $(BUILD)/tessel $(BUILD)/demo.smc docs/screenshot.png

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
