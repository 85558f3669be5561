# Shared by the Windows scripts (sourced, not run): the cross tools, SDL2
# built for Windows from Debian's own source package, wine, and the
# configured cross build.
#
# SDL2 is built once per version and kept outside the build tree, in
# ${STAKKO_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/stakko}, so later runs
# and other build folders reuse it. The source comes from the same Debian
# version as the machine's libsdl2-dev, fetched with a private apt
# configuration: the machine's sources and package lists are never touched.

STAKKO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
STAKKO_CACHE_DIR="${STAKKO_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/stakko}"
WIN_HOST=x86_64-w64-mingw32
WIN_WINE=/usr/lib/wine/wine64
WIN_WINESERVER=/usr/lib/wine/wineserver

win_log() { echo "windows: $*" >&2; }

# Installs the Debian packages the cross build, its tests and the zip need.
win_install_packages() {
  local packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
                  wine64 dpkg-dev cmake make zip unzip googletest libsdl2-dev
                  xvfb xauth xdotool x11-utils python3)
  "$STAKKO_ROOT/scripts/setup-deps.sh" "${packages[@]}"
}

# The Debian version of SDL2 the Linux build uses; the Windows build uses the
# same one.
win_sdl_version() {
  dpkg-query -W -f='${Version}' libsdl2-dev
}

# The last part names how it is built: a change to the build's flags
# below gives a fresh cache folder.
win_sdl_prefix() {
  local version
  version="$(win_sdl_version)"
  echo "$STAKKO_CACHE_DIR/sdl2-${version//[^A-Za-z0-9.+-]/_}-$WIN_HOST-stripped-reproducible"
}

# The first Debian mirror of the machine's own sources, for the deb-src line.
win_debian_mirror() {
  local uri
  uri="$(grep -hs '^URIs:' /etc/apt/sources.list.d/*.sources | awk '{print $2}' |
         grep -v -- '-security' | head -n1)"
  if [ -z "$uri" ]; then
    uri="$(grep -hs '^deb ' /etc/apt/sources.list | awk '{print $2}' | grep -v -- '-security' | head -n1)"
  fi
  echo "${uri:-http://deb.debian.org/debian}"
}

# Fetches the source of the machine's SDL2 version into the folder $1 with a
# private apt configuration. Prints the source tree.
sdl_fetch_source() {
  local work="$1" version apt_dir opts
  version="$(win_sdl_version)"
  apt_dir="$work/apt"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
  local codename
  codename="$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")"
  echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $(win_debian_mirror) $codename main" \
    >"$apt_dir/sources.list"
  opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
        -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o Debug::NoLocking=1 -o APT::Sandbox::User=root)
  apt-get "${opts[@]}" update -qq || return 1
  (cd "$work" && apt-get "${opts[@]}" source -qq "libsdl2=$version" >/dev/null) || return 1
  local src
  src="$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'libsdl2-*' | head -n1)"
  [ -n "$src" ] || { win_log "apt-get source libsdl2=$version gave no source tree"; return 1; }
  echo "$src"
}

# Fetches, cross-builds and caches SDL2 when the cache lacks it. Prints the
# installed prefix.
win_ensure_sdl() {
  local prefix version work src
  prefix="$(win_sdl_prefix)"
  if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    return 0
  fi
  version="$(win_sdl_version)"
  win_log "building SDL2 $version for Windows (once; cached in $prefix)"
  work="$(mktemp -d "${TMPDIR:-/tmp}/stakko-sdl2.XXXXXX")"
  src="$(sdl_fetch_source "$work")" || return 1
  rm -rf "$prefix"
  # libgcc linked in, so the DLL needs nothing beside it but Windows itself.
  # The same source gives the same bytes: the temporary folders' names are
  # mapped away (assertions keep source names), no link time is stamped,
  # and the symbols, which name those folders too, are stripped.
  local same="-ffile-prefix-map=$src=libsdl2 -ffile-prefix-map=$work/build=build"
  SOURCE_DATE_EPOCH=315532800 cmake -S "$src" -B "$work/build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$STAKKO_ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF \
    -DCMAKE_C_FLAGS="$same" -DCMAKE_CXX_FLAGS="$same" \
    -DCMAKE_SHARED_LINKER_FLAGS="-static-libgcc -s -Wl,--no-insert-timestamp" >"$work/configure.log" ||
    { cat "$work/configure.log" >&2; return 1; }
  SOURCE_DATE_EPOCH=315532800 cmake --build "$work/build" -j2 >"$work/build.log" ||
    { tail -n 40 "$work/build.log" >&2; return 1; }
  cmake --install "$work/build" >/dev/null
  cp "$src/LICENSE.txt" "$prefix/SDL2-LICENSE.txt"
  touch "$prefix/.complete"
  rm -rf "$work"
  echo "$prefix"
}

# wine for this build: its own prefix inside the build folder (the one the
# toolchain file gives the build's emulator), quiet.
win_wine_env() {
  local build="$1"
  export WINEPREFIX="$(cd "$build" && pwd)/wine"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
}

win_stop_wine() {
  if [ -n "${WINEPREFIX:-}" ] && [ -x "$WIN_WINESERVER" ]; then
    "$WIN_WINESERVER" -k >/dev/null 2>&1 || true
  fi
}

# Configures and builds the cross build in $1 (extra cmake arguments follow).
win_build() {
  local build="$1" sdl
  shift
  sdl="$(win_ensure_sdl)"
  cmake -S "$STAKKO_ROOT" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$STAKKO_ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_PREFIX_PATH="$sdl" -DSDL2_DIR="$sdl/lib/cmake/SDL2" "$@" >/dev/null
  cmake --build "$build" -j2
}
