# Tessel — the two set-up commands are `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja
# `make soak`: the long soak's length, and its seed (a new one each run
# unless given; the test prints it so that a failure can be replayed).
SOAK_STEPS ?= 200000
SOAK_SEED  ?= $(shell date +%s)
# `make install`: where to (DESTDIR, when given, is put in front of it).
PREFIX     ?= /usr/local

.PHONY: all deps test-deps layers configure test-configure build test-build run test test-asan test-tsan \
        asan-configure bench screenshot soak install package clean

all: build

# `make run` (and install, package) need only the build and run packages;
# `make test` and what runs under Xvfb add the test tools.
deps:
	@./scripts/install-deps run

test-deps:
	@./scripts/install-deps test

# A first configure without the test tools leaves the tests out; `make test`
# turns them on in the same tree.
configure: deps
	@test -f $(BUILD)/build.ninja || cmake -S . -B $(BUILD) $(CMAKE_GEN) \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSEL_TESTS=OFF

# The test build's contact is a test value (which `make package` refuses
# too), so that the package the tests check is complete.
test-configure: test-deps
	@grep -qx 'TESSEL_TESTS:BOOL=ON' $(BUILD)/CMakeCache.txt 2>/dev/null || \
	    cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSEL_TESTS=ON \
	    -DTESSEL_CONTACT="$${TESSEL_CONTACT:-Tessel tests <tests@tessel.invalid>}"

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test-build: test-configure
	cmake --build $(BUILD) -j $(JOBS)

$(BUILD)/demo.smc: build
	@test $@ -nt $(BUILD)/make-demo-rom || $(BUILD)/make-demo-rom $@

run: build $(BUILD)/demo.smc
	$(BUILD)/tessel $(BUILD)/demo.smc

# The include direction of src/ is checked first: it takes a second.
layers:
	./scripts/check-layers

# Installs under $(PREFIX), inside $(DESTDIR) when given: `make install DESTDIR=/tmp/x`.
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The Debian package: $(BUILD)/tessel_<version>_<arch>.deb, for `apt install ./…deb`.
# It needs a real contact: `make package TESSEL_CONTACT="Name <address>"` (or
# the same in the environment at the first configure).
package: build
	@if [ -n "$(TESSEL_CONTACT)" ]; then cmake -S . -B $(BUILD) -DTESSEL_CONTACT="$(TESSEL_CONTACT)" >/dev/null; fi
	@if grep -q '^TESSEL_CONTACT:STRING=.*@tessel\.invalid>' $(BUILD)/CMakeCache.txt; then \
	    echo 'make package: the contact is a placeholder; run make package TESSEL_CONTACT="Name <address>"' >&2; exit 1; fi
	cmake --build $(BUILD) -j $(JOBS) --target package

test: layers test-tsan test-build test-asan
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The recovery writer's thread under ThreadSanitizer: a small target of the
# writer, what it links against and its test, in the test tree (seconds).
test-tsan: test-configure
	cmake --build $(BUILD) -j $(JOBS) --target recovery_writer_tsan_tests
	ctest --test-dir $(BUILD) --output-on-failure -L tsan

# The sanitizer tree: the core tests and the soak test (a bounded one in
# `make test`) under AddressSanitizer and UndefinedBehaviorSanitizer. Of the
# Qt layer it builds only what the soak test needs.
asan-configure: test-deps
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
bench: test-build $(BUILD)/demo.smc
	./scripts/bench_table.sh $(BUILD)

screenshot: test-deps build $(BUILD)/demo.smc
	./scripts/screenshot.sh $(BUILD)/tessel $(BUILD)/demo.smc docs/screenshot.png

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
