# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 compilers:
#
#   cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VELMORA_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# Tests and other programs run at build time go through Wine (64-bit only:
# 32-bit Wine is not available on every Linux host).
get_filename_component(VELMORA_WINE_RUN "${CMAKE_CURRENT_LIST_DIR}/../../scripts/wine-run" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${VELMORA_WINE_RUN}")
