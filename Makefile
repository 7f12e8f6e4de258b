# Convenience wrapper around CMake. Nothing here installs packages: on a
# fresh Debian 12 machine run scripts/install-deps first (the README's
# commands do).
JOBS ?= 2
BUILD ?= build
ASAN_BUILD ?= build-asan
DEMO_KEY ?= Velmora-Demo-Key
CTEST_FLAGS ?= --output-on-failure -j$(JOBS)

WIN64_BUILD ?= build-win64
WIN32_BUILD ?= build-win32

.PHONY: all deps build demo test asan bench format clean \
        windows windows-64 windows-32 windows-desktop-32 windows-test windows-bench

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: $(BUILD)/CMakeCache.txt
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

asan:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	    xvfb-run -a ctest --test-dir $(ASAN_BUILD) $(CTEST_FLAGS)

bench:
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_BENCH=ON
	cmake --build build-bench -j$(JOBS)
	bench/run-all build-bench

# ---- Windows, cross-compiled with MinGW-w64 and tested under Wine ----
# velmora.exe (64-bit) and velmora-cli.exe for x86-64 and i686, each one
# statically linked file, checked for imports from Windows' own DLLs only;
# velmora-cli.exe packed into velmora-cli-<version>-win64.zip and -win32.zip,
# both programs into the installer velmora-<version>-win64.exe.
#
# wxWidgets for Windows is built once per machine, outside the tree, by
# scripts/build-wx-msw (the superbuild in third_party/, about 20 minutes per
# architecture); later runs only look it up and print its prefix. A failed
# wx build stops the target there, with the step that failed and its log.
windows: windows-64 windows-32

windows-64:
	prefix=$$(CMAKE_BUILD_PARALLEL_LEVEL=$(JOBS) scripts/build-wx-msw x86_64) && \
	cmake -S . -B $(WIN64_BUILD) -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake \
	    -DwxWidgets_DIR="$$prefix/lib/cmake/wxWidgets" -DVELMORA_BUILD_BENCH=OFF
	cmake --build $(WIN64_BUILD) -j$(JOBS)
	scripts/check-windows-exe x86_64 $(WIN64_BUILD)/velmora-cli.exe $(WIN64_BUILD)/velmora.exe
	cd $(WIN64_BUILD) && cpack -G ZIP && cpack -G NSIS

# 32-bit Wine cannot run on every machine: built and checked, not tested.
windows-32:
	cmake -S . -B $(WIN32_BUILD) -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-i686.cmake -DVELMORA_BUILD_DESKTOP=OFF \
	    -DVELMORA_BUILD_TESTS=OFF
	cmake --build $(WIN32_BUILD) -j$(JOBS)
	scripts/check-windows-exe i686 $(WIN32_BUILD)/velmora-cli.exe
	cd $(WIN32_BUILD) && cpack -G ZIP

# The 32-bit desktop program, against the i686 wxWidgets (built once per
# machine when missing); not part of `make windows`. Built in the same
# folder as the 32-bit command-line program.
windows-desktop-32:
	prefix=$$(CMAKE_BUILD_PARALLEL_LEVEL=$(JOBS) scripts/build-wx-msw i686) && \
	cmake -S . -B $(WIN32_BUILD) -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-i686.cmake -DVELMORA_BUILD_DESKTOP=ON \
	    -DVELMORA_BUILD_TESTS=OFF -DwxWidgets_DIR="$$prefix/lib/cmake/wxWidgets"
	cmake --build $(WIN32_BUILD) -j$(JOBS) --target velmora
	scripts/check-windows-exe i686 $(WIN32_BUILD)/velmora.exe

# The suites for Windows, run under wine64 through CTest; the desktop ones
# need an X display, as on Linux.
windows-test: windows-64
	xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir $(WIN64_BUILD) $(CTEST_FLAGS)

# The folder tree benchmarks of the Windows build, under Wine on Xvfb:
# in-process, then a click on the real velmora.exe's tree as its user sees
# it (bench/tree-click). With `make bench` done too, bench/windows-vs-linux
# compares the cipher and the folder batch with the Linux build.
windows-bench: windows-64
	cmake -S . -B $(WIN64_BUILD) -DVELMORA_BUILD_BENCH=ON
	cmake --build $(WIN64_BUILD) -j$(JOBS) \
	    --target folder_tree_bench encrypt_buffer_throughput tree_probe repaint_probe
	export VELMORA_WINEPREFIX=$(CURDIR)/$(WIN64_BUILD)/wine-prefix; status=0; \
	xvfb-run -a -s "-screen 0 1024x768x24" scripts/wine-run \
	    $(WIN64_BUILD)/bench/folder_tree_bench.exe || status=$$?; \
	xvfb-run -a -s "-screen 0 1024x768x24" bench/tree-click $(WIN64_BUILD)/velmora.exe || status=$$?; \
	exit $$status

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-bench demo $(WIN64_BUILD) $(WIN32_BUILD)
