# The commands of the README: `make run`, `make test` and `make gallery`. Everything else is set-up.
SHELL := /bin/bash

# BUILD picks another build folder (parallel work trees of one clone use their own).
BUILD        ?= build
WIN_BUILD    := $(BUILD)/win
NATIVE_BUILD := $(BUILD)/native
JOBS         ?= $(shell nproc)
CMAKE_GEN    := -G Ninja

.PHONY: all deps configure build native test test-whole check-skins run gallery fuzz-long bench clean

all: build

deps:
	@bash scripts/setup-deps.sh
	@bash scripts/build-libjpeg.sh
	@bash scripts/build-libdeflate.sh
	@bash scripts/wine-prefix.sh

$(WIN_BUILD)/build.ninja: | deps
	@. scripts/env.sh && cmake -S . -B $(WIN_BUILD) $(CMAKE_GEN) -Wno-dev \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_CROSSCOMPILING_EMULATOR=$(CURDIR)/scripts/wine-exec.sh -DJPEG_PREFIX="$$JPEG_PREFIX" -DDEFLATE_PREFIX="$$DEFLATE_PREFIX" >/dev/null

$(NATIVE_BUILD)/build.ninja: | deps
	@cmake -S . -B $(NATIVE_BUILD) $(CMAKE_GEN) -Wno-dev \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null

build: deps $(WIN_BUILD)/build.ninja
	@cmake --build $(WIN_BUILD) -j $(JOBS)

native: deps $(NATIVE_BUILD)/build.ninja
	@cmake --build $(NATIVE_BUILD) -j $(JOBS)

test: build native
	@SCRIVANE_BUILD=$(BUILD) bash scripts/run-tests.sh

# Each Windows test program run whole, shuffled and twice over, with a printed seed, so that a
# test leaving something behind for the next one, or leaning on what an earlier one left, shows.
test-whole: build
	@SCRIVANE_BUILD=$(BUILD) bash scripts/run-whole-tests.sh

# The sweep over every element a skin can have: every skin of the sweep on every gallery page
# of its engine, each picture of the display judged (SWEEP_SESSIONS parallel sessions).
check-skins: build
	@SCRIVANE_BUILD=$(BUILD) bash scripts/check-skins.sh

run: build
	@SCRIVANE_BUILD=$(BUILD) bash scripts/run.sh

# The skin gallery (GALLERY_ARGS, e.g. "--page mdi", go to the program).
gallery: build
	@SCRIVANE_BUILD=$(BUILD) bash scripts/gallery.sh $(GALLERY_ARGS)

fuzz-long: native
	@cmake --build $(NATIVE_BUILD) --target fuzz-long

bench: build native
	@SCRIVANE_BUILD=$(BUILD) bash scripts/run-bench.sh

clean:
	rm -rf $(BUILD)
