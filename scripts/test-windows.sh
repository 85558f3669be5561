#!/usr/bin/env bash
# The Windows build under wine: the unit suite cross-built and run, the
# scenario runner's parity with the Linux one, and the packaged zip's
# stakko.exe played in Xvfb. Needs a Linux build of the tree (default
# build-test, which scripts/test.sh makes first) to compare against.
#
#   scripts/test-windows.sh [linux-build-folder]
# The Windows build folder is build-windows (STAKKO_WINDOWS_BUILD overrides it).
# Without CI=true, a machine lacking wine or the MinGW-w64 compilers skips
# this with a message; with CI=true everything is installed and must pass.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
source scripts/windows-common.sh
started=$SECONDS
stakko_skip_without windows scripts/package-windows.sh "$WIN_WINE" "$WIN_HOST-g++-posix"
native="$(stakko_native_build test-windows.sh "${1:-}")"

build="${STAKKO_WINDOWS_BUILD:-build-windows}"
echo "=== $build (cross-built, run under wine) ==="
STAKKO_WINDOWS_BUILD=$build scripts/package-windows.sh -DSTAKKO_TESTS=ON \
  -DSTAKKO_NATIVE_BUILD_DIR="$native" >/dev/null
win_wine_env "$build"
trap win_stop_wine EXIT
status=0
(cd "$build" && ctest --output-on-failure -j2) | tee "$build/ctest.log" || status=$?
stakko_ci_no_skips "$build/ctest.log" windows || status=1
echo "=== windows: $((SECONDS - started)) s ==="
exit $status
