# The two everyday commands: `make run` starts the program, `make check` runs every test.
BUILD ?= build
JOBS ?= $(shell nproc)
# STRICT=ON makes every warning an error, as CI builds.
STRICT ?= OFF

.PHONY: deps configure build run check bench package format-check clean

deps:
	@bash scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELLOR3_STRICT=$(STRICT) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@$(BUILD)/bin/pellor3

# The store tests run a second time against a throw-away PostgreSQL cluster of their own.
check: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen bash $(CURDIR)/scripts/with-test-server ctest --output-on-failure -j $(JOBS)

# The Debian package (build/pellor3_<version>_amd64.deb), for `apt install ./pellor3_…deb`.
package: build
	@cmake --build $(BUILD) --target package

bench: build
	@PELLOR3_DURABLE_SERVER=1 bash scripts/with-test-server $(BUILD)/bench/pellor3-bench

# Every source as .clang-format lays it out; lists the files that differ.
format-check: deps
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

clean:
	@rm -rf $(BUILD)
