#!/usr/bin/env bash
# The WebAssembly builds: stakko-sim under node against the Linux one
# (web.parity), then the packaged page played in headless Chromium
# (web.page). Needs a Linux build of the tree (default build-test, which
# scripts/test.sh makes first) to compare against.
#
#   scripts/test-web.sh [linux-build-folder]
# Without CI=true, a machine lacking emscripten or node skips this with a
# message; with CI=true everything is installed and must pass.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
source scripts/web-common.sh
started=$SECONDS
if [ "${CI:-}" = "true" ]; then
  web_install_packages
fi
stakko_skip_without web "scripts/package.sh web" emcc node
native="$(stakko_native_build test-web.sh "${1:-}")"

status=0
run_tests() {
  local build="$1"
  (cd "$build" && ctest --output-on-failure) | tee "$build/ctest.log" || status=1
  stakko_ci_no_skips "$build/ctest.log" "web ($build)" || status=1
}

echo "=== build-web-sim (stakko-sim for node) ==="
web_build build-web-sim -DSTAKKO_WITH_SDL=OFF -DSTAKKO_NATIVE_BUILD_DIR="$native" >/dev/null
run_tests build-web-sim
echo "=== build-web (the page, packaged and played in Chromium) ==="
# Without npm's packages outside CI, web.page says it was skipped.
modules="$(web_test_modules)" || { [ "${CI:-}" != "true" ] || exit 1; modules=""; }
STAKKO_WEB_BUILD=build-web scripts/package-web.sh -DSTAKKO_NATIVE_BUILD_DIR="$native" \
  -DSTAKKO_WEB_NODE_MODULES="$modules" >/dev/null
run_tests build-web
echo "=== web: $((SECONDS - started)) s ==="
exit $status
