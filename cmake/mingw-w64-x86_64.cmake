# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers. The
# POSIX-threads variant is the one whose C++ library has std::thread and
# std::mutex. Programs built here run on this machine under wine, so the
# build can run its own tools (the picture and sound generator) and the
# tests can run the test programs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(STAKKO_MINGW x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${STAKKO_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${STAKKO_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${STAKKO_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${STAKKO_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

find_program(STAKKO_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(STAKKO_WINE64 NAMES wine64 wine)
if(STAKKO_WINE64)
  # wine keeps its Windows folders in a prefix of this build, and stays
  # quiet (no debug channels, no offer to install .NET or a browser engine).
  set(STAKKO_WINEPREFIX ${CMAKE_BINARY_DIR}/wine)
  set(STAKKO_WINE_ENV WINEPREFIX=${STAKKO_WINEPREFIX} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=)
  set(CMAKE_CROSSCOMPILING_EMULATOR env ${STAKKO_WINE_ENV} ${STAKKO_WINE64})
endif()
