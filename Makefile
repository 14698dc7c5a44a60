# The two commands: `make run` and `make test`. See README.md.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
SAMPLE ?= res/samples/drawing-24.bmp
OUT ?= build/out

QOV_CONVERT := build/release/cli/qov-convert
QOV := build/release/app/qov

.PHONY: all deps build programs test format-check layers-check format run convert bench fuzz screenshots clean

all: build

deps:
	@scripts/install-deps.sh

build/release/build.ninja: | deps
	cmake --preset release >/dev/null

build: build/release/build.ninja
	cmake --build --preset release -j $(JOBS)

# The two programs and what they link: not the tests, benchmarks and fuzz
# replays that `build` makes as well.
programs: build/release/build.ninja
	cmake --build --preset release -j $(JOBS) --target qov qov-convert

test: deps format-check layers-check
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)
	ctest --preset release -j $(JOBS)
	cmake --preset asan >/dev/null
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

format-check:
	@scripts/check-format.sh

layers-check:
	@scripts/check-layers.sh

format:
	@scripts/check-format.sh --fix

# The desktop program on the sample when a display is there; the batch
# conversion of the sample into every output otherwise (and before it).
run: programs convert
	@if [ -x $(QOV) ] && { [ -n "$$DISPLAY" ] || [ -n "$$WAYLAND_DISPLAY" ]; }; then \
	  echo "Starting the desktop program on $(SAMPLE)"; $(QOV) $(SAMPLE); \
	else \
	  echo "No display: the batch conversion above is what make run does here."; \
	fi

convert: programs
	@scripts/convert-sample.sh $(QOV_CONVERT) $(SAMPLE) $(OUT)

bench:
	@scripts/install-deps.sh bench
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)
	@scripts/run-benchmarks.sh build/release

fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	@scripts/run-fuzzers.sh build/fuzz $(FUZZ_SECONDS)

screenshots: build
	@scripts/screenshots.sh build/release build/screenshots

clean:
	rm -rf build
