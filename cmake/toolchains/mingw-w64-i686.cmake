# Cross-compiling for 32-bit Windows with Debian's MinGW-w64 compilers:
#
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VELMORA_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# No emulator: a 32-bit Wine cannot run on every host, so the programs built
# here are only run on Windows itself.
