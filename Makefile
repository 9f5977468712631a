# The two commands of the README, and a few more for development.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: run test build bench startup-time sanitize fuzz clean

# The program on the simulated positioner, as the host would start it.
DEVICE ?= HART/Net/Tarnix1
run: build
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ] && [ "$$QT_QPA_PLATFORM" != "offscreen" ]; then \
	  echo "No display here. Start it under a virtual display:"; \
	  echo "  xvfb-run -a make run"; \
	  exit 1; \
	fi
	$(BUILD)/bin/tarnix /d$(DEVICE) /slocalhost

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

build:
	scripts/install-deps.sh
	cmake -S . -B $(BUILD) -G Ninja
	cmake --build $(BUILD) -j $(JOBS)

bench: build
	$(BUILD)/bin/bench_poll
	$(BUILD)/bin/bench_plot
	$(BUILD)/bin/bench_plot_draw --benchmark_repetitions=3
	$(BUILD)/bin/bench_files

startup-time: build
	scripts/startup-time.sh $(BUILD)/bin/startup_probe

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
