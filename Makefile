# Convenience wrapper around CMake. `make demo` and `make test` work on a
# fresh Debian 12 machine: they install what is missing first.
JOBS ?= 2
BUILD ?= build
ASAN_BUILD ?= build-asan
DEMO_KEY ?= Velmora-Demo-Key
CTEST_FLAGS ?= --output-on-failure -j$(JOBS)

.PHONY: all deps build demo test asan bench format clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

# Encrypts a copy of the bundled samples, so every kind of message shows once.
demo: build
	rm -rf demo && cp -r samples demo
	$(BUILD)/velmora-cli $(DEMO_KEY) demo
	@echo
	$(BUILD)/velmora-cli $(DEMO_KEY) demo/readme.txt
	@echo
	ls -l demo
	@echo "--- demo/shopping-list.ser read back with openssl (text + padding spaces):"
	@openssl enc -d -aes-128-cbc -nopad -K $$(printf %s '$(DEMO_KEY)' | od -An -tx1 | tr -d ' \n') \
	    -iv 00000000000000000000000000000000 -in demo/shopping-list.ser

test: build
	xvfb-run -a ctest --test-dir $(BUILD) $(CTEST_FLAGS)

asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	    xvfb-run -a ctest --test-dir $(ASAN_BUILD) $(CTEST_FLAGS)

bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_BENCH=ON
	cmake --build build-bench -j$(JOBS)
	bench/run-all build-bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-bench demo
