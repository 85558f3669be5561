#!/usr/bin/env bash
# Sets up what is missing, then builds and runs the whole test suite twice:
# a normal build, and one under AddressSanitizer and UndefinedBehaviorSanitizer;
# then builds the Debian package and checks it (tests/e2e/deb_test.py), the
# Windows build under wine (scripts/test-windows.sh) and the WebAssembly
# builds under node and in Chromium (scripts/test-web.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
scripts/setup-deps.sh
jobs="$(nproc)"

run_suite() {
  local dir="$1"; shift
  echo "=== $dir ==="
  cmake -S . -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  local log="$dir/ctest.log"
  (cd "$dir" && ctest --output-on-failure -j"$jobs") 2>&1 | tee "$log"
  local status="${PIPESTATUS[0]}"
  if [ "$status" -ne 0 ]; then return "$status"; fi
  stakko_ci_no_skips "$log" "$dir"
}

run_suite build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DSTAKKO_SANITIZE=ON

echo "=== Debian package ==="
started=$SECONDS
JOBS="$jobs" scripts/package.sh deb
python3 tests/e2e/deb_test.py --artifacts build-deb/e2e-artifacts
echo "Debian package built and checked in $((SECONDS - started)) s"

# The Windows build under wine and the WebAssembly builds under node and in
# a browser, each compared with the Linux build above. Both parts run, and
# either failing fails the whole.
status=0
scripts/test-windows.sh build-test || status=$?
scripts/test-web.sh build-test || status=$?
exit $status
