# Zindrel: `make run` builds and starts the game, `make test` builds and runs every test.
# Both install whatever Debian packages are missing first.

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 60
WEB_BUILD  ?= build-web

.PHONY: all deps configure build run test test-sanitize bench fuzz-smoke assets-preview format clean \
	web test-web

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

# The game for web browsers in $(WEB_BUILD)/ (zindrel.html, .js, .wasm, .data): the native asset
# builder first, then the C libraries (cached in $(WEB_BUILD)/deps), then the game with emcc.
# Emscripten's JavaScript tools need Debian's node modules even where another node comes first.
web:
	scripts/install-deps.sh --web
	cmake -S . -B $(WEB_BUILD)/host -DCMAKE_BUILD_TYPE=Release -DZINDREL_TESTS=OFF -DZINDREL_BENCH=OFF
	cmake --build $(WEB_BUILD)/host --target zindrel_resources_dat zindrel_art -j $(JOBS)
	JOBS=$(JOBS) scripts/web-deps.sh $(WEB_BUILD)/deps
	emcmake cmake -S . -B $(WEB_BUILD)/wasm -DCMAKE_BUILD_TYPE=Release \
		-DZINDREL_HOST_DIR=$(abspath $(WEB_BUILD))/host -DZINDREL_WEB_DEPS=$(abspath $(WEB_BUILD))/deps \
		-DZINDREL_WEB_OUTPUT=$(abspath $(WEB_BUILD))
	NODE_PATH=/usr/share/nodejs cmake --build $(WEB_BUILD)/wasm -j $(JOBS)

# The web build played in headless Chromium.
test-web: web
	/usr/bin/python3 scripts/test-web.py $(WEB_BUILD)

assets-preview: build
	cmake --build $(BUILD) --target assets-preview

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WEB_BUILD)
