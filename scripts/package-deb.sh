#!/usr/bin/env bash
# Builds dist/stakko_<version>_amd64.deb: a Release tree (build-deb) built
# with the flags Debian builds its own packages with, installed under /usr
# by CPack, its dependencies computed by dpkg-shlibdeps.
#   JOBS=N    parallel build jobs (default: all processors)
set -euo pipefail
cd "$(dirname "$0")/.."

# What building the package needs, installed when missing.
scripts/setup-deps.sh g++ make cmake pkg-config libsdl2-dev libx11-dev libxext-dev dpkg-dev file gzip

# The version lives in one place, CMakeLists.txt; the changelog and the
# AppStream releases must already describe it.
source scripts/common.sh
version="$(stakko_version)"
if ! head -n 1 packaging/changelog | grep -q "^stakko ($version) "; then
  echo "package-deb.sh: packaging/changelog has no entry for $version on top" >&2
  exit 1
fi
if ! grep -q "<release version=\"$version\"" packaging/io.github.stakko.Stakko.metainfo.xml; then
  echo "package-deb.sh: the metainfo has no <release> for $version" >&2
  exit 1
fi

arch=$(dpkg --print-architecture)
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
build=build-deb
# Debian keeps the commands of games in /usr/games (its games section
# requires it); everything else is the layout `cmake --install` makes.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DSTAKKO_TESTS=OFF -DSTAKKO_SYSTEM_PACKAGE=ON \
      -DCMAKE_INSTALL_BINDIR=games \
      -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$build" -j"${JOBS:-$(nproc)}"
rm -f "$build"/stakko_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="stakko_${version}_${arch}.deb"
mkdir -p dist
cp "$build/$deb" "dist/$deb"
echo "dist/$deb"
