# Ostravel: the two commands a newcomer needs are `make demo` and `make check`.
SHELL := /bin/bash
JOBS ?= 2
PYTEST := /usr/bin/python3 -m pytest

.PHONY: all deps build build-host build-win32 build-win64 build-media-host check format unit fuzz e2e demo bench clean

all: build

deps:
	@bash tools/ci/deps.sh

build: deps build-host build-win32 build-win64

build-host:
	@cmake --preset host >/dev/null
	@cmake --build --preset host -j $(JOBS)

build-win32:
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32 -j $(JOBS)

build-win64:
	@cmake --preset win64 >/dev/null
	@cmake --build --preset win64 -j $(JOBS)

unit: build-host
	@cd build/host && ctest --output-on-failure -j $(JOBS)

fuzz:
	@bash tools/ci/fuzz.sh

# The Wine tests run the Windows programs and fixtures and build media with the host tool.
build-media-host:
	@cmake --preset host >/dev/null
	@cmake --build --preset host -j $(JOBS) --target ostravel-media

# Both Windows builds: the run picks the one the host can start (tests/e2e/winehost.py)
# and, where it runs both, compares them.
e2e: deps build-win32 build-win64 build-media-host
	@$(PYTEST) -q tests/e2e

# The C++ format (.clang-format) of every file not yet pending reformatting: seconds.
format:
	@bash tools/ci/format_check.sh

check: deps
	@$(MAKE) --no-print-directory format
	@$(MAKE) --no-print-directory build-host build-win32 build-win64
	@$(MAKE) --no-print-directory unit
	@$(MAKE) --no-print-directory fuzz
	@$(MAKE) --no-print-directory e2e

demo: deps build-host
	@bash tools/ci/demo.sh

bench: deps build-host
	@bash tools/ci/bench.sh

clean:
	rm -rf build
