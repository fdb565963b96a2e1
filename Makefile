# Plain entry points; nobody needs to know the CMake incantation.
#   make demo   set up, build, run the programs on shipped examples
#   make test   set up, build, run every test (normal and ASan+UBSan builds)
#   make check  build and run the tests of the normal build only
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: bench all setup setup-test build build-asan demo test check check-asan clean

all: build

# Packages that only the tests need (end-to-end synthesis flow, fuzzing).
TEST_PKGS ?= yosys berkeley-abc clang libclang-rt-14-dev

setup:
	@bash tools/setup.sh

setup-test:
	@bash tools/setup.sh $(TEST_PKGS)

build: setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

build-asan: setup
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPV_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)

demo: build
	@bash tools/demo.sh $(BUILD)/bin

check: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

check-asan: build-asan
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

test: CMAKE_FLAGS += -DPV_WERROR=ON
test: setup-test check check-asan

# The benchmark suite (minutes; not part of the tests).
bench:
	bash bench/run.sh

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
