# Zindrel: `make run` builds and starts the game, `make test` builds and runs every test.
# Both install whatever Debian packages are missing first.

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 60
# Warnings become errors (ZINDREL_WERROR) in the tests and CI; a plain build keeps what it has.
WERROR     ?=
test test-under-load: WERROR = ON

.PHONY: all deps configure build run test test-sanitize bench fuzz-smoke assets-preview format clean
.PHONY: test-under-load
.PHONY: install uninstall package package-test web test-web lint format-check
WEB_BUILD  ?= build-web

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(if $(WERROR),-DZINDREL_WERROR=$(WERROR))

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/zindrel

test: build
	scripts/with-display.sh ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) -LE package

# The whole suite three times in a row while stress-ng keeps every core busy: tests must wait
# for conditions, not for time. Not part of CI; it takes a while.
test-under-load: build
	stress-ng --cpu $(JOBS) --quiet & trap 'kill $$!' EXIT; \
	for run in 1 2 3; do \
		scripts/with-display.sh ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) -LE package || exit 1; \
	done

# The unit tests again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DZINDREL_SANITIZE=ON -DZINDREL_BENCH=OFF \
		-DZINDREL_WERROR=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	scripts/with-display.sh ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) -LE 'slow|package'

bench: build
	scripts/with-display.sh scripts/run-benchmarks.sh $(BUILD)

# The game's start-up, memory and CPU per frame beside a bare GLFW program, in one table.
.PHONY: footprint
footprint: build
	scripts/with-display.sh python3 bench/footprint.py $(BUILD)

# Every fuzz target for FUZZ_SECONDS seconds (clang, libFuzzer, ASan and UBSan).
fuzz-smoke: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZINDREL_FUZZ=ON \
		-DZINDREL_TESTS=OFF -DZINDREL_BENCH=OFF -DZINDREL_WERROR=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	scripts/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# Installs the game and the libraries under PREFIX (DESTDIR in front for staging);
# uninstall removes what the last install wrote.
PREFIX ?= /usr/local
install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)

uninstall:
	sed 's|^|$(DESTDIR)|' $(BUILD)/install_manifest.txt | xargs -r -d '\n' rm -f
	sed -n 's|^|$(DESTDIR)|; s|/[^/]*$$||p; s|\(/include/zindrel\)/.*|\1|p' $(BUILD)/install_manifest.txt | \
		sort -ru | xargs -r -d '\n' rmdir --ignore-fail-on-non-empty 2>/dev/null || true

# The Debian package build/zindrel_<version>_<arch>.deb, and the tests of the installed game and
# libraries (the package played from an unpacked root, a project built against the toolkit).
package: build
	cmake --build $(BUILD) --target package

package-test: build
	scripts/with-display.sh ctest --test-dir $(BUILD) --output-on-failure -L package

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

# clang-tidy 14 (.clang-tidy) over every source file the default build compiles, JOBS at a
# time; any finding fails.
lint: configure
	run-clang-tidy-14 -p $(BUILD) -j $(JOBS) -quiet \
		'^$(CURDIR)/(audio|bench|foundation|frame|game|input|render|resources|tests|toolkit|tools)/.*\.cpp$$' \
		> $(BUILD)/lint.log 2>&1 || { grep -E -A3 '(warning|error):' $(BUILD)/lint.log; exit 1; }

# Fails when a C++ file differs from what clang-format 14 (.clang-format) makes of it.
format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format-14 --dry-run -Werror

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WEB_BUILD)
