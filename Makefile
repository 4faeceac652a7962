# The two everyday commands: `make run` starts the program, `make check` runs every test.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps configure build run check bench clean

deps:
	@bash scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@$(BUILD)/src/app/pellor3

check: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@$(BUILD)/bench/pellor3-bench

clean:
	@rm -rf $(BUILD)
