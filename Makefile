# Plain entry points; nobody needs to know the CMake incantation.
#   make demo   set up, build, run the programs on shipped examples
#   make test   set up, build, run every test (normal and Debug ASan+UBSan builds)
#   make check  build and run the tests of the normal build only
#   make fuzz-smoke  build the fuzzers with clang and run each for FUZZ_SECONDS
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_FLAGS ?=
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: bench all setup setup-demo setup-test build build-asan demo test check check-asan clean build-fuzz fuzz-smoke

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
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPV_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# The fuzzers need clang: libFuzzer with AddressSanitizer and UBSan.
build-fuzz:
	@bash tools/setup.sh clang libclang-rt-14-dev
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DPV_FUZZ=ON $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD) --target fuzz_polyverify fuzz_toporder -j $(JOBS)

# gfverify needs yosys.
setup-demo:
	@bash tools/setup.sh yosys

demo: setup-demo build
	@bash tools/demo.sh $(BUILD)/bin

check: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

check-asan: build-asan
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# Each fuzzer for FUZZ_SECONDS; fails on any crash, hang, leak or sanitizer
# report (the failing input is kept; fuzz/run.sh names the directory).
fuzz-smoke: build-fuzz
	bash fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

test: CMAKE_FLAGS += -DPV_WERROR=ON
test: setup-test check check-asan fuzz-smoke

# The benchmark suite (minutes; not part of the tests).
bench:
	bash bench/run.sh

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
