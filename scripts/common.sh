# Shared by the scripts (sourced, not run).

# The game's version: the one in project(Stakko VERSION ...) of
# CMakeLists.txt, which every package and --version take.
stakko_version() {
  local root version
  root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
  version="$(sed -n 's/^project(Stakko VERSION \([0-9][0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
  if [ -z "$version" ]; then
    echo "no project(Stakko VERSION ...) in CMakeLists.txt" >&2
    return 1
  fi
  echo "$version"
}

# Under CI every test must really run: a skip there would hide a suite that,
# say, never opened a window. Fails (status 1) when the ctest log LOG shows a
# skipped or unrun test and CI=true.
stakko_ci_no_skips() {
  local log="$1" what="$2"
  if [ "${CI:-}" = "true" ] && grep -q "\*\*\*Skipped\|Not Run" "$log"; then
    echo "CI: $what: tests were skipped or not run; that counts as a failure here" >&2
    return 1
  fi
}
