# The two commands of the README, and a few more for development.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: test build bench sanitize fuzz clean

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

build:
	scripts/install-deps.sh
	cmake -S . -B $(BUILD) -G Ninja
	cmake --build $(BUILD) -j $(JOBS)

bench: build
	$(BUILD)/bin/bench_poll

# The suites without widgets again, under AddressSanitizer and UBSan.
sanitize:
	scripts/install-deps.sh
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARNIX_SANITIZE=ON -DTARNIX_WITH_QT=OFF
	cmake --build build-asan -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir build-asan -L nonwidget --output-on-failure -j $(JOBS)

# The reply fuzzer (clang, libFuzzer) for FUZZ_SECONDS, starting from the
# saved inputs; new finds stay in build-fuzz/corpus.
FUZZ_SECONDS ?= 60
fuzz:
	scripts/install-deps.sh
	CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTARNIX_SANITIZE=ON -DTARNIX_FUZZ=ON -DTARNIX_WITH_QT=OFF -DTARNIX_BENCH=OFF
	cmake --build build-fuzz --target fuzz_replies -j $(JOBS)
	mkdir -p build-fuzz/corpus
	build-fuzz/bin/fuzz_replies -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	  build-fuzz/corpus tests/fuzz/corpus

clean:
	rm -rf $(BUILD) build-asan build-fuzz
