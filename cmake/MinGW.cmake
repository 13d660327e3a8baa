# Cross-builds for 64-bit Windows with Debian's MinGW-w64 (its POSIX-threads
# flavour, for std::thread and friends), and runs what it builds under Wine,
# in a Wine prefix of the build's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Windows libraries from elsewhere, such as the static Qt that
# tools/build-qt-windows makes, are named in CMAKE_PREFIX_PATH.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Statically linked, the programs need no DLLs beside them under Wine or on
# a user's machine.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Mono and Gecko, which a new prefix offers to install, are of no use to
# command-line programs; without them the prefix is ready in seconds.
set(ZEMBRAX_WINE_ENVIRONMENT
    WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=)
set(CMAKE_CROSSCOMPILING_EMULATOR env ${ZEMBRAX_WINE_ENVIRONMENT} /usr/lib/wine/wine64)
