# Cross build for 64-bit Windows with mingw-w64 (posix threads), tested under Wine:
#   cmake -S . -B build-mingw -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
#   cmake --build build-mingw && ctest --test-dir build-mingw
# Debian: apt-get install g++-mingw-w64-x86-64-posix wine64 (GoogleTest comes from /usr/src/googletest).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLET x86_64-w64-mingw32)

find_program(CMAKE_C_COMPILER NAMES ${MINGW_TRIPLET}-gcc-posix ${MINGW_TRIPLET}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${MINGW_TRIPLET}-g++-posix ${MINGW_TRIPLET}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Packages also outside the root: a host finds a midas2orvo installed into any prefix.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# The MinGW runtime (libgcc, libstdc++, winpthread) goes into each program and the DLL, so that they
# run without DLLs of the compiler beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Tests and tools run under Wine: Debian's wine64 package installs the loader as /usr/lib/wine/wine64,
# the wine package adds "wine" to the path. WINEDEBUG=-all keeps Wine's own log out of the output; a
# UTF-8 locale lets Wine name Linux files in any script (a folder named 模型), whatever the caller's.
find_program(MINGW_WINE NAMES wine wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(MINGW_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env WINEDEBUG=-all LC_ALL=C.UTF-8 ${MINGW_WINE})
endif()
