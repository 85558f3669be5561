# Shared by the browser scripts (sourced, not run): emscripten and node's
# environment, SDL2 built for WebAssembly from Debian's own source package
# (once, cached beside the Windows one), and the two WebAssembly builds:
#   build-web-sim  stakko-sim and the generator for node (web.parity)
#   build-web      the game for the page (web.page, the zip)
source "$(dirname "${BASH_SOURCE[0]}")/windows-common.sh"
WEB_HOST=wasm32-emscripten

web_log() { echo "web: $*" >&2; }

# Debian's emcc finds its JavaScript helpers (acorn) only through NODE_PATH,
# and node's own fetch would take the generated loader's file reads.
export NODE_PATH=/usr/share/nodejs
export NODE_OPTIONS=--no-experimental-fetch
# emcc runs under Debian's own python3 (a python3 earlier on the PATH, say
# pyenv's shim, costs seconds per call, and SDL's set-up makes hundreds).
if [ -x /usr/bin/python3 ]; then export EMSDK_PYTHON=/usr/bin/python3; fi

# Installs the Debian packages the builds and the browser test need; npm
# comes with some node packages and separately with Debian's.
web_install_packages() {
  "$STAKKO_ROOT/scripts/setup-deps.sh" emscripten nodejs chromium cmake make dpkg-dev zip unzip python3 libsdl2-dev
  command -v npm >/dev/null || "$STAKKO_ROOT/scripts/setup-deps.sh" npm
}

web_sdl_prefix() {
  local version
  version="$(win_sdl_version)"
  echo "$STAKKO_CACHE_DIR/sdl2-${version//[^A-Za-z0-9.+-]/_}-$WEB_HOST"
}

# Fetches, builds and caches SDL2 for WebAssembly when the cache lacks it.
# Threads off: a page with threads needs special headers from its server.
# Prints the installed prefix.
web_ensure_sdl() {
  local prefix work src
  prefix="$(web_sdl_prefix)"
  if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    return 0
  fi
  web_log "building SDL2 $(win_sdl_version) for WebAssembly (once; cached in $prefix)"
  work="$(mktemp -d "${TMPDIR:-/tmp}/stakko-sdl2-web.XXXXXX")"
  src="$(sdl_fetch_source "$work")" || return 1
  rm -rf "$prefix"
  cmake -S "$src" -B "$work/build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$STAKKO_ROOT/cmake/emscripten.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
    -DSDL_THREADS=OFF -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" >"$work/configure.log" ||
    { cat "$work/configure.log" >&2; return 1; }
  cmake --build "$work/build" -j2 >"$work/build.log" || { tail -n 40 "$work/build.log" >&2; return 1; }
  cmake --install "$work/build" >/dev/null
  cp "$src/LICENSE.txt" "$prefix/SDL2-LICENSE.txt"
  touch "$prefix/.complete"
  rm -rf "$work"
  echo "$prefix"
}

# Configures and builds a WebAssembly build in $1 (extra cmake arguments
# follow). -O2: the page's code as fast, the build quicker than at -O3.
web_build() {
  local build="$1"
  shift
  local launcher=()
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S "$STAKKO_ROOT" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$STAKKO_ROOT/cmake/emscripten.cmake" \
    -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DSTAKKO_TESTS=OFF "${launcher[@]}" "$@" >/dev/null
  cmake --build "$build" -j2
}

# The game for the page, against the cached SDL2.
web_build_page() {
  local build="$1" sdl
  shift
  sdl="$(web_ensure_sdl)" || return 1
  web_build "$build" -DSTAKKO_WITH_SDL=ON -DCMAKE_PREFIX_PATH="$sdl" -DSDL2_DIR="$sdl/lib/cmake/SDL2" "$@"
}

# The browser test's node packages (tests/web/package-lock.json), installed
# once per lock file into the cache. Prints the node_modules folder.
web_test_modules() {
  local lock="$STAKKO_ROOT/tests/web/package-lock.json" dir
  dir="$STAKKO_CACHE_DIR/web-test-$(sha256sum "$lock" | cut -c1-16)"
  if [ ! -f "$dir/.complete" ]; then
    web_log "installing the browser test's node packages into $dir"
    rm -rf "$dir"
    mkdir -p "$dir"
    cp "$STAKKO_ROOT/tests/web/package.json" "$lock" "$dir/"
    (cd "$dir" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error >&2) || return 1
    touch "$dir/.complete"
  fi
  echo "$dir/node_modules"
}
