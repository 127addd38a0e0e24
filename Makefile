# Lumora: `make run` builds and starts the player on its sample program folder; `make test` runs every test.
BUILD_DIR ?= build
FUZZ_DIR ?= build-fuzz
SANITIZE ?= 0
WERROR ?= 0
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 20

CMAKE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLUMORA_SANITIZE=$(if $(filter 1,$(SANITIZE)),ON,OFF) \
  -DLUMORA_WERROR=$(if $(filter 1,$(WERROR)),ON,OFF)

.PHONY: all deps configure build test run fuzz bench package package-check clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# ctest fails when no test ran, so an empty suite never passes.
test: build
	cd $(BUILD_DIR) && ctest --output-on-failure --no-tests=error -j $(JOBS)

run: build
	$(BUILD_DIR)/bin/lumora --program-folder $(BUILD_DIR)/bin

# libFuzzer targets need clang; each runs for FUZZ_SECONDS on its seed corpus.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMORA_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	bash scripts/run-fuzzers.sh $(FUZZ_DIR)/fuzz $(FUZZ_SECONDS)

bench: build
	bash scripts/run-benchmarks.sh $(BUILD_DIR)

# The Debian package (build/lumora_<version>_<arch>.deb), with screenshots of the window for its software
# centre page in build/packaging/screenshots.
package: build
	cmake --build $(BUILD_DIR) --target screenshots
	cd $(BUILD_DIR) && cpack -G DEB
	@ls $(BUILD_DIR)/lumora_*.deb

# Installs the package in a clean Debian 12 root (debootstrap; root and network needed), runs it, removes it.
package-check: package
	bash packaging/package-check.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(FUZZ_DIR)
