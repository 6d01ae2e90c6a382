# Two entry points: `make run` and `make test`. Both install what is missing,
# configure and build; `run` then starts the program, `test` runs every test.

BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_BUILD_TYPE ?= RelWithDebInfo

.PHONY: all deps configure build run test bench clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(CMAKE_BUILD_TYPE) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display found: starting under xvfb-run"; \
	  xvfb-run -a $(BUILD_DIR)/bin/zelko-account; \
	else \
	  $(BUILD_DIR)/bin/zelko-account; \
	fi

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@$(BUILD_DIR)/bin/zelko-bench
	@if [ -x $(BUILD_DIR)/bin/zelko-grids-bench ]; then QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/zelko-grids-bench; fi

clean:
	@rm -rf $(BUILD_DIR)
