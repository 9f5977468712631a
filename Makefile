# The two commands of the README, and a few more for development.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
# Warnings fail our own builds; a packager's newer compiler only warns.
CONFIGURE = scripts/install-deps.sh && \
  cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DTARNIX_WERROR=ON

.PHONY: run test build program release clang bench startup-time sanitize fuzz clean

# The program on the simulated positioner, as the host would start it.
DEVICE ?= HART/Net/Tarnix1
run: program
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ] && [ "$$QT_QPA_PLATFORM" != "offscreen" ]; then \
	  echo "No display here. Start it under a virtual display:"; \
	  echo "  xvfb-run -a make run"; \
	  exit 1; \
	fi
	$(BUILD)/bin/tarnix /d$(DEVICE) /slocalhost

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

build:
	$(CONFIGURE)
	cmake --build $(BUILD) -j $(JOBS)

# Only the program and the files beside it, no tests or benchmarks.
program:
	$(CONFIGURE)
	cmake --build $(BUILD) --target tarnix -j $(JOBS)

# Everything again in the Release configuration and with clang, each in its
# own folder, with the tests.
release:
	$(MAKE) test BUILD=build-release BUILD_TYPE=Release
clang:
	CXX=clang++ $(MAKE) test BUILD=build-clang

bench: build
	$(BUILD)/bin/bench_poll
	$(BUILD)/bin/bench_plot
	$(BUILD)/bin/bench_plot_draw --benchmark_repetitions=3
	$(BUILD)/bin/bench_files
	$(BUILD)/bin/bench_event_history
	$(BUILD)/bin/bench_ramp_download
	$(BUILD)/bin/bench_data_monitor
	$(BUILD)/bin/bench_compare

startup-time: build
	scripts/startup-time.sh $(BUILD)/bin/startup_probe

# The suites without widgets and the file suites again, under
# AddressSanitizer and UBSan; Qt itself is not instrumented.
sanitize:
	scripts/install-deps.sh
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARNIX_WERROR=ON -DTARNIX_SANITIZE=ON \
	  -DTARNIX_WITH_QT=ON
	cmake --build build-asan --target sanitize_suites -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir build-asan -L 'nonwidget|sanitize' --output-on-failure -j $(JOBS)

# The reply fuzzer and the file fuzzer (clang, libFuzzer), FUZZ_SECONDS in
# all, half each, starting from the saved inputs; new finds stay in
# build-fuzz/corpus and build-fuzz/openers_corpus.
FUZZ_SECONDS ?= 60
FUZZ_HALF = $(shell expr $(FUZZ_SECONDS) / 2)
fuzz:
	scripts/install-deps.sh
	CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNIX_WERROR=ON \
	  -DTARNIX_SANITIZE=ON -DTARNIX_FUZZ=ON -DTARNIX_WITH_QT=OFF -DTARNIX_BENCH=OFF
	cmake --build build-fuzz --target fuzz_replies fuzz_openers -j $(JOBS)
	mkdir -p build-fuzz/corpus build-fuzz/openers_corpus
	build-fuzz/bin/fuzz_replies -max_total_time=$(FUZZ_HALF) -print_final_stats=1 \
	  build-fuzz/corpus tests/fuzz/corpus
	build-fuzz/bin/fuzz_openers -max_total_time=$(FUZZ_HALF) -print_final_stats=1 -dict=tests/fuzz/openers.dict \
	  build-fuzz/openers_corpus tests/fuzz/openers_corpus

clean:
	rm -rf $(BUILD) build-release build-clang build-asan build-fuzz
