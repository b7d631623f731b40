# make run   builds, then runs tavrine on a sample picture (without a display it
#            prints the window as text)
# make test  builds and runs every test
# make package  builds the Debian package (tavrine_VERSION_ARCH.deb in the
#            build folder)
BUILD ?= build
JOBS ?= $(shell nproc)
SAMPLE ?= samples/sample-srgb.jpg

.PHONY: all deps configure build run test bench fuzz install package clean

all: build

deps:
	@bash scripts/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run-app $(BUILD)/tavrine $(SAMPLE)

test: build
	@bash scripts/run-tests $(BUILD)

bench: build
	@for b in $(BUILD)/bench/bench_*; do echo "== $$b"; $$b; done

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DTAVRINE_FUZZ=ON -DTAVRINE_TESTS=OFF -DTAVRINE_BENCH=OFF
	cmake --build build-fuzz -j $(JOBS)

install: build
	cmake --install $(BUILD)

package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) build-fuzz
