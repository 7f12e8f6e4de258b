# What the MinGW-w64 toolchain files share; each sets VELMORA_MINGW_TRIPLET
# and CMAKE_SYSTEM_PROCESSOR first.
#
# The -posix compilers are used because the win32 thread model has no
# std::mutex or std::thread. Everything is linked statically, so that each
# .exe runs on a clean Windows with no DLL beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${VELMORA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMORA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VELMORA_MINGW_TRIPLET}-windres)

# Libraries and headers come from the MinGW tree (and any prefix given with
# -DCMAKE_FIND_ROOT_PATH=...), never from the build machine; programs such as
# gzip come from the build machine.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${VELMORA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
