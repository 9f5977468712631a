# The two commands of the README, and a few more for development.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: test build bench sanitize clean

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

clean:
	rm -rf $(BUILD) build-asan
