# Two commands for a newcomer: "make run" and "make test".
# The real build is CMake's; this only installs what is missing, configures
# and calls it. CMake users can use CMakePresets.json instead.

BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
JOBS ?= 2
MAKEFLAGS += --no-print-directory
SECONDS ?= 600
SEED ?= 20261208

.PHONY: run test test-sanitize format-check golden bench soak build build-all clean

# With a display, the window; without one (ssh, CI), a scripted drive in a
# private X server that leaves screenshots and the trace in build/demo/.
run: build
	@if [ -n "$$DISPLAY" ]; then \
	    $(BUILD_DIR)/tank; \
	else \
	    echo "make run: no display (DISPLAY is not set): playing the headless demo instead"; \
	    scripts/deps.sh demo && scripts/demo.sh $(BUILD_DIR)/tank $(BUILD_DIR)/demo; \
	fi

test: build-all
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

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
	cmake -S . -B $(BUILD_DIR) -DBUILD_TESTING=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
