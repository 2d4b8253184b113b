# Quick start: `make run` builds and starts the program, `make test` runs the tests.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test bench clean

deps:
	scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/bin/plavex

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 ctest --output-on-failure --timeout 300 -j $(JOBS)

# With a private Firebird server on loopback for the server figures, stopped afterwards.
bench: build
	scripts/test-server start $(BUILD_DIR)/bench-server
	PLAVEX_BENCH_SERVER_ENV=$(BUILD_DIR)/bench-server/server.env $(BUILD_DIR)/bin/plavex-bench; \
	  status=$$?; scripts/test-server stop $(BUILD_DIR)/bench-server; exit $$status

clean:
	rm -rf $(BUILD_DIR)
