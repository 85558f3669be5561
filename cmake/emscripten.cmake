# Build for WebAssembly with Debian's emscripten (scripts/web-common.sh sets
# the environment emcc needs). Debian's own toolchain file does the work;
# programs the build runs itself (the picture and sound generator) and the
# tests run under the machine's node, called plainly: emcmake's default
# passes node a flag that node 20 refuses, and node's own fetch would take
# the loader's file reads.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
find_program(STAKKO_NODE NAMES node PATHS /usr/bin NO_DEFAULT_PATH)
set(CMAKE_CROSSCOMPILING_EMULATOR env NODE_OPTIONS=--no-experimental-fetch ${STAKKO_NODE})
