# make run   builds, then runs tavrine on a sample picture (without a display it
#            prints the window as text)
# make test  builds and runs every test
# make test-sanitize  builds into build-sanitize with AddressSanitizer and
#            UndefinedBehaviorSanitizer and runs every test there
# make format  rewrites the C++ sources in the house format (.clang-format)
# make format-check  fails, naming the files, when a source is not in it
# make package  builds the Debian package (tavrine_VERSION_ARCH.deb in the
#            build folder)
BUILD ?= build
JOBS ?= $(shell nproc)
SAMPLE ?= samples/sample-srgb.jpg

.PHONY: all deps configure build run test test-sanitize format format-check bench fuzz install package clean

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

# GCC's uninitialised-value analysis misreads std::variant once ASan has
# instrumented it, and warns on every Value(); the sanitizers themselves check
# that at run time.
SANITIZE = -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer \
           -Wno-maybe-uninitialized

# Leak checking is off: GLib and Qt keep their type and plugin tables for the
# life of the process, which the leak checker would report at every exit.
test-sanitize: deps
	cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRINE_BENCH=OFF \
	      -DCMAKE_C_FLAGS="$(SANITIZE)" -DCMAKE_CXX_FLAGS="$(SANITIZE)" \
	      -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE)" -DCMAKE_SHARED_LINKER_FLAGS="$(SANITIZE)"
	cmake --build build-sanitize -j $(JOBS)
	@ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
	  bash scripts/run-tests build-sanitize

# The C++ sources git knows, in the house format.
FORMAT_SOURCES = $(shell git ls-files '*.cpp' '*.h' '*.cc')

format: deps
	@clang-format -i $(FORMAT_SOURCES)

format-check: deps
	@clang-format --dry-run --Werror $(FORMAT_SOURCES)

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
	rm -rf $(BUILD) build-fuzz build-sanitize
