#!/usr/bin/env bash
# Builds dist/stakko-<version>-windows-x64.zip on Debian: the game
# cross-built with MinGW-w64 (a GUI stakko.exe with its icon, version
# information and C/C++ runtimes inside), SDL2.dll built from Debian's own
# SDL2 sources (once, then cached), the generated graphics\ and Sound\, an
# empty Data\ and README.txt. Installs what is missing first.
#
#   scripts/package-windows.sh [extra cmake arguments]
# The build folder is build-windows (STAKKO_WINDOWS_BUILD overrides it).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
source scripts/windows-common.sh

win_install_packages
build="${STAKKO_WINDOWS_BUILD:-build-windows}"
win_build "$build" -DSTAKKO_TESTS=OFF "$@"

version="$(stakko_version)"
stage="$build/zip/Stakko"
rm -rf "$build/zip"
cmake --install "$build" --prefix "$stage" >/dev/null

# Every entry dated by the last commit and listed in one order, so the same
# sources give the same zip.
epoch="$(git log -1 --format=%ct 2>/dev/null || echo 315532800)"
find "$stage" -exec touch -h -d "@$epoch" {} +
mkdir -p dist
zip_path="$PWD/dist/stakko-$version-windows-x64.zip"
rm -f "$zip_path"
(cd "$stage" && find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort | TZ=UTC zip -X -q -@ "$zip_path")
echo "$zip_path"
