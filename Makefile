# Entry points for players and developers; CMake does the real work.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
ifdef CI
CMAKE_FLAGS += -DBV_WERROR=ON
endif
# A compiler cache, where installed, makes a build in a fresh checkout cheap
# when any checkout on the machine built the same sources before.
ifneq ($(shell command -v ccache),)
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
CACHE_FLAGS := -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache
CMAKE_FLAGS += $(CACHE_FLAGS)
endif

.PHONY: run test test-sanitize fuzz fuzz-seeds deps configure build clean stickman-preview objects-preview

run: build
	$(BUILD)/bin/brisvel

test: build
	ctest --test-dir $(BUILD) --output-on-failure --timeout 600 -j $(JOBS)

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize:
	$(MAKE) test BUILD=build-sanitize CMAKE_FLAGS="$(CMAKE_FLAGS) -DBV_SANITIZE=ON"

deps:
	scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

clean:
	rm -rf build build-sanitize build-fuzz

# libFuzzer targets in build-fuzz/bin (clang); run one with, for example,
# build-fuzz/bin/fuzz_images_db -max_total_time=600 CORPUS_DIR
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DBV_FUZZ=ON -DBV_TESTS=OFF $(CACHE_FLAGS)
	cmake --build build-fuzz -j $(JOBS) --target fuzzers

# Each fuzz target once over its seeds: what CI checks after building them.
fuzz-seeds: fuzz
	for corpus in fuzz/corpus/*/; do \
	  build-fuzz/bin/fuzz_$$(basename $$corpus) $$corpus* || exit 1; \
	done

# Pictures of every posture and animation of data/stickman.xml in build/stickman-preview/.
stickman-preview: configure
	cmake --build $(BUILD) -j $(JOBS) --target brisvel-stickman
	$(BUILD)/bin/brisvel-stickman preview data/stickman.xml build/stickman-preview

# Every object of data/objects.xml in the figure's hand, facing right and left,
# in build/objects-preview/ (all.png shows them all).
objects-preview: configure
	cmake --build $(BUILD) -j $(JOBS) --target brisvel-objects
	$(BUILD)/bin/brisvel-objects preview data/objects.xml data/stickman.xml build/objects-preview
