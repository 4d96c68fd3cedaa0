# Cross build for 32-bit Windows with Debian's mingw-w64 (posix threads,
# which GoogleTest needs); tests run under Wine (see scripts/wine-run).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Each build tree keeps its own Wine prefix, so builds never share a wineserver.
set(CMAKE_CROSSCOMPILING_EMULATOR
    /usr/bin/env "WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix" "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run")
