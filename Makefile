# Zindrel: `make run` builds and starts the game, `make test` builds and runs every test.
# Both install whatever Debian packages are missing first.

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: all deps configure build run test test-under-load test-sanitize bench fuzz-smoke assets-preview format clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/zindrel

test: build
	scripts/with-display.sh ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The whole suite three times in a row while stress-ng keeps every core busy: tests must wait
# for conditions, not for time. Not part of CI; it takes a while.
test-under-load: build
	stress-ng --cpu $(JOBS) --quiet & trap 'kill $$!' EXIT; \
	for run in 1 2 3; do \
		scripts/with-display.sh ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) || exit 1; \
	done

# The unit tests again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DZINDREL_SANITIZE=ON -DZINDREL_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	scripts/with-display.sh ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) -LE slow

bench: build
	scripts/with-display.sh scripts/run-benchmarks.sh $(BUILD)

# Every fuzz target for FUZZ_SECONDS seconds (clang, libFuzzer, ASan and UBSan).
fuzz-smoke: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZINDREL_FUZZ=ON \
		-DZINDREL_TESTS=OFF -DZINDREL_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	scripts/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

assets-preview: build
	cmake --build $(BUILD) --target assets-preview

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
