# Convenience front end over CMake.
#   make run   installs what is missing, builds and starts Tessra
#   make test  installs what is missing, builds and runs every test
#   make demo  the same program on a simulated meter, no meter needed
#   make package  the Debian package, build/tessra_<version>_<arch>.deb
#   make test-asan   every test under AddressSanitizer, UBSan and LeakSanitizer (building only the tests
#                    and the programs they start)
#   make test-tsan   the tests labelled "threads" under ThreadSanitizer
#   make fuzz-smoke  the protocol fuzzer for about a minute on its seed corpus
#   make soak        the load test for ten minutes (SOAK_SECONDS=600)
#   make bench       the benchmarks, optimised, with their figures (see BENCHMARKS.md)
# test-asan, test-tsan, fuzz-smoke and bench each configure a build directory of their own.
# Builds use Ninja (GENERATOR=... for another) and ccache when installed (see README).

BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
GENERATOR ?= Ninja

# $(call configure,DIR,OPTIONS): cmake refuses a build directory made with
# another generator, so such a directory (one from before Ninja, say) loses
# its cache and is configured afresh; what a run left there (options.ini,
# the journal) stays.
define configure
	@if [ -f $(1)/CMakeCache.txt ] && ! grep -qx 'CMAKE_GENERATOR:INTERNAL=$(GENERATOR)' $(1)/CMakeCache.txt; then \
	    echo "$(1) was made with another generator: configuring it afresh"; \
	    rm -rf $(1)/CMakeCache.txt $(1)/CMakeFiles; \
	fi
	cmake -S . -B $(1) -G "$(GENERATOR)" $(2)
endef

.PHONY: all deps configure build run demo test package clean test-asan test-tsan fuzz-smoke soak bench

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	$(call configure,$(BUILD_DIR),-DCMAKE_BUILD_TYPE=RelWithDebInfo)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	cd $(BUILD_DIR) && ./tessra

demo: build
	cd $(BUILD_DIR) && ./tessra-demo

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

package: build
	cmake --build $(BUILD_DIR) --target package

# The load test runs for 15 seconds within `make test`; here as long as asked.
SOAK_SECONDS ?= 600
soak: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen TESSRA_SOAK_SECONDS=$(SOAK_SECONDS) \
	    QTEST_FUNCTION_TIMEOUT=$$(( ($(SOAK_SECONDS) + 300) * 1000 )) tests/tst_meter_soak

# Instrumented builds are slow and memory-hungry: two jobs at most.
SANITIZER_JOBS ?= 2
FUZZ_SECONDS ?= 60
# A few frames per input; longer inputs run many times slower and reach no more.
FUZZ_MAX_LEN ?= 256
FUZZ_DIR = build-fuzz/fuzz

test-asan: deps
	$(call configure,build-asan,-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSRA_SANITIZE=address)
	cmake --build build-asan -j $(SANITIZER_JOBS) --target tessra_tests
	cd build-asan && ../scripts/ctest-sanitized.py --output-on-failure -j $(SANITIZER_JOBS)

test-tsan: deps
	$(call configure,build-tsan,-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSRA_SANITIZE=thread)
	cmake --build build-tsan -j $(SANITIZER_JOBS) --target tessra_thread_tests
	cd build-tsan && ctest --output-on-failure -L threads

# Runs from a fresh copy of the seeds, so each smoke run starts alike; a
# finding lands in $(FUZZ_DIR)/artifacts/ and fails the target.
fuzz-smoke:
	@scripts/install-deps.sh fuzz
	$(call configure,build-fuzz,-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
	    -DTESSRA_FUZZ=ON -DTESSRA_BUILD_TESTS=OFF)
	cmake --build build-fuzz -j $(SANITIZER_JOBS) --target fuzz_meterstream fuzz_seeds
	rm -rf $(FUZZ_DIR)/smoke && mkdir -p $(FUZZ_DIR)/smoke/corpus $(FUZZ_DIR)/artifacts
	cp $(FUZZ_DIR)/seeds/* $(FUZZ_DIR)/smoke/corpus/
	$(FUZZ_DIR)/fuzz_meterstream -max_total_time=$(FUZZ_SECONDS) -max_len=$(FUZZ_MAX_LEN) -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_DIR)/artifacts/ $(FUZZ_DIR)/smoke/corpus

# Two jobs at most for the build; the runs take the machine to themselves.
BENCH_REPETITIONS ?= 9
bench:
	@scripts/install-deps.sh bench
	$(call configure,build-bench,-DCMAKE_BUILD_TYPE=Release -DTESSRA_BENCH=ON -DTESSRA_BUILD_TESTS=OFF)
	cmake --build build-bench -j $(SANITIZER_JOBS) --target tessra_benchmarks
	bench/run-benchmarks.sh build-bench $(BENCH_REPETITIONS)

clean:
	rm -rf $(BUILD_DIR)
