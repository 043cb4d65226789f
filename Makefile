# Two entry points for a fresh Debian 12 machine:
#   make run   installs what is missing, builds and starts duxel
#   make test  installs what is missing, builds and runs the whole suite (ctest + a short fuzz run)
#   make demo  builds and shows a reception from a simulated diary, with a private profile
# and for packagers: make package (a Debian package in build/), make install PREFIX=~/.local
BUILD      ?= build
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 10
JOBS       ?= $(shell nproc)
# ccache, where the machine has it, makes rebuilds in several checkouts cheap.
LAUNCHER   := $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

.PHONY: deps configure build run test demo package install fuzz bench clean
PREFIX ?= $(HOME)/.local

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/src/app/duxel

# casio-sim transmits docs/demo/demo.json on a pseudo-terminal to a duxel that runs with a
# profile of its own in a temporary folder: nothing of the user's settings is read or changed.
demo: build
	@scripts/demo $(BUILD)

package: build
	@cd $(BUILD) && cpack -G DEB
	@ls $(BUILD)/*.deb

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

test: build fuzz
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The fuzzers need clang and their own build of the core.
fuzz: deps
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DDUXEL_FUZZ=ON $(LAUNCHER) >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@tests/fuzz/run-fuzzers $(FUZZ_BUILD)/tests/fuzz $(FUZZ_SECONDS)

bench: build
	@bench/run-benchmarks $(BUILD)

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
