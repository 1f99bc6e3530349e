# Two commands for a newcomer: "make run" and "make test".
# The real build is CMake's; this only installs what is missing, configures
# and calls it. CMake users can use CMakePresets.json instead.

BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
CLANG_DIR ?= build-clang
WEB_CMAKE_DIR ?= build-web
# The page lands beside the desktop build, where the browser tests look.
WEB_DIR ?= $(BUILD_DIR)/web
WINDOWS_DIR ?= build-windows
# Debian's emscripten runs its JavaScript optimiser under node with Debian's
# own modules; a node from elsewhere on the PATH does not look there.
EMENV = NODE_PATH=/usr/share/nodejs
JOBS ?= 2
MAKEFLAGS += --no-print-directory
SECONDS ?= 600
SEED ?= 20261208
# The Debian release make test-debian runs the suite on.
RELEASE ?= trixie

.PHONY: run test check check-clang test-sanitize format-check golden docs bench soak build build-all clean \
        web web-build browser-deps bench-web soak-web test-debian test-web-newest icons \
        windows test-windows

# With a display, the window; without one (ssh, CI), a scripted drive in a
# private X server that leaves screenshots and the trace in build/demo/.
# Quitting with ESC is not a failure (scripts/run.sh tells it apart).
run: build
	@if [ -n "$$DISPLAY" ]; then \
	    scripts/run.sh $(BUILD_DIR)/tank; \
	else \
	    echo "make run: no display (DISPLAY is not set): playing the headless demo instead"; \
	    scripts/deps.sh demo && scripts/demo.sh $(BUILD_DIR)/tank $(BUILD_DIR)/demo; \
	fi

test: build-all web-build browser-deps
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# The quick loop for a change to the C++: the program and its desktop tests
# (unit, GL, golden frames, end to end under Xvfb), with neither emscripten
# nor a browser. make test runs these and the page's tests besides.
check:
	@scripts/deps.sh check
	cmake -S . -B $(BUILD_DIR) -DBUILD_TESTING=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) --label-exclude web

# The same with clang, the compiler of macOS, FreeBSD and many students:
# the same warnings, as errors.
check-clang:
	@scripts/deps.sh clang
	$(MAKE) check BUILD_DIR=$(CLANG_DIR) CC=clang CXX=clang++

# The whole suite again, built with AddressSanitizer and UBSan.
test-sanitize:
	@scripts/deps.sh test
	cmake -S . -B $(SANITIZE_DIR) -DTANK_SANITIZE=ON -DBUILD_TESTING=ON
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && ctest --output-on-failure -j $(JOBS)

# Rewrites the reference frames in tests/golden/ from the current drawing,
# for when a change to the picture is intended. Look at the difference
# images a failing run left in build/tests/golden-out/ before committing.
golden: build-all
	TANK_GOLDEN_UPDATE=1 tests/with-xvfb.sh $(BUILD_DIR)/tests/gl_tests --gtest_filter='Golden.*'

# The diagram of how the tank is built, from the drawing's own measurements,
# and the tables of keys in the README and docs/leia-me.md, from the
# program's table of keys.
docs: build
	@scripts/deps.sh docs
	cmake --build $(BUILD_DIR) --target tank_diagram
	$(BUILD_DIR)/tank_diagram >docs/tank.dot
	dot -Tsvg docs/tank.dot -o docs/tank.svg
	node scripts/key-tables.mjs $(BUILD_DIR)/tank_diagram

format-check:
	@scripts/deps.sh format
	scripts/check-format.sh

bench: build
	@scripts/deps.sh test
	cmake --build $(BUILD_DIR) -j $(JOBS) --target bench_floor
	bench/bench.sh $(BUILD_DIR)/tank $(BUILD_DIR)/bench_floor 10

soak: build
	@scripts/deps.sh test
	bench/soak.sh $(BUILD_DIR)/tank $(SECONDS) $(SEED)

build:
	@scripts/deps.sh build
	cmake -S . -B $(BUILD_DIR)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target tank

build-all:
	@scripts/deps.sh test
	cmake -S . -B $(BUILD_DIR) -DBUILD_TESTING=ON -DTANK_BROWSER_TESTS=ON \
	    -DTANK_WEB_DIR=$(abspath $(WEB_DIR))
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The browser build: the same program as WebAssembly, with its page, in
# $(WEB_DIR). "make web" also serves it on this machine until Ctrl-C.
web-build:
	@scripts/deps.sh web
	@scripts/deps.sh npm
	$(EMENV) emcmake cmake -S . -B $(WEB_CMAKE_DIR) -DCMAKE_BUILD_TYPE=MinSizeRel \
	    -DTANK_WEB_DIR=$(abspath $(WEB_DIR))
	$(EMENV) cmake --build $(WEB_CMAKE_DIR) -j $(JOBS)

# NETWORK=1 serves the phones and laptops of a room too.
web: web-build
	@scripts/deps.sh npm
	node scripts/serve.mjs $(WEB_DIR) 8000 $(if $(NETWORK),--network)

# Draws the page's app icons (web/icon-*.png) again with the browser build.
icons: web-build browser-deps
	node scripts/icons.mjs $(WEB_DIR) web

# The browser build measured in both engines beside a page that only
# clears the canvas, and on a phone (Lighthouse) beside the same markup
# drawn with plain WebGL.
bench-web: web-build browser-deps
	$(EMENV) cmake --build $(WEB_CMAKE_DIR) --target bench_floor plain_page
	tests/with-xvfb.sh node bench/web_bench.mjs $(WEB_DIR) $(WEB_CMAKE_DIR)/floor-page \
	    $(WEB_CMAKE_DIR)/plain-page chromium firefox

soak-web: web-build browser-deps
	node bench/web_soak.mjs $(WEB_DIR) $(SECONDS) $(SEED)

# The whole suite (make test, make test-sanitize) as a newcomer runs it on
# another Debian release, in a root made by debootstrap and kept between
# runs, on a fresh clone of this checkout's commits.
test-debian:
	@scripts/deps.sh debian
	scripts/debian-root.sh test $(RELEASE)

# The page built with the newest emscripten Debian ships (in testing),
# driven by the browser tests here.
test-web-newest: browser-deps
	@scripts/deps.sh debian
	scripts/debian-root.sh web testing $(BUILD_DIR)/web-newest
	@failed=; for engine in chromium firefox webkit; do \
	    TANK_ENGINE=$$engine TANK_PAGE_DIR=$(abspath $(BUILD_DIR))/web-newest TANK_GOLDEN_DIR=$(abspath tests/golden) \
	        tests/with-xvfb.sh node --test --test-concurrency=1 tests/page/ tests/web/ || failed="$$failed $$engine"; \
	done; if [ -n "$$failed" ]; then echo "test-web-newest: failed in$$failed"; exit 1; fi

# tank.exe for 64-bit Windows in $(WINDOWS_DIR), cross-built with mingw-w64
# against freeglut built from Debian's source package: one file to hand out.
windows:
	@scripts/deps.sh windows
	scripts/windows/build.sh $(WINDOWS_DIR)

# The Windows program under Wine: its unit tests, then beside the Linux
# program, the same drive's trace byte for byte, the start frame, ESC and
# a reader that goes away.
test-windows: build
	@scripts/deps.sh windows-test
	scripts/windows/build.sh $(WINDOWS_DIR) -DBUILD_TESTING=ON
	scripts/windows/wine.sh ctest --test-dir $(WINDOWS_DIR) --output-on-failure -j $(JOBS)
	scripts/windows/wine.sh tests/e2e_windows.sh $(WINDOWS_DIR)/tank.exe $(BUILD_DIR)/tank tests/golden

# The browser tests' npm packages, exactly as the lockfile pins them.
browser-deps:
	@scripts/deps.sh test
	@scripts/deps.sh npm

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(CLANG_DIR) $(WEB_CMAKE_DIR) $(WINDOWS_DIR)
