# Two commands for a newcomer: "make run" and "make test".
# The real build is CMake's; this only installs what is missing, configures
# into build/ and calls it.

BUILD_DIR ?= build
JOBS ?= 2

.PHONY: run test build build-all clean

run: build
	@if [ -z "$$DISPLAY" ]; then \
	    echo "make run: no display (DISPLAY is not set); run it from a desktop session or over ssh -X" >&2; \
	    exit 1; \
	fi
	$(BUILD_DIR)/tank

test: build-all
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

build:
	@scripts/deps.sh build
	cmake -S . -B $(BUILD_DIR) -DBUILD_TESTING=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS) --target tank

build-all:
	@scripts/deps.sh test
	cmake -S . -B $(BUILD_DIR) -DBUILD_TESTING=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)

clean:
	rm -rf $(BUILD_DIR)
