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

# Outside CI, a part whose tools are missing is skipped with a word on how
# to get them (ends the script with status 0); under CI the part's own
# installer has run and a missing tool fails where it is first used.
#   stakko_skip_without PART HOW TOOL...
stakko_skip_without() {
  local part="$1" how="$2" tool
  shift 2
  [ "${CI:-}" = "true" ] && return 0
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "=== $part: skipped: $tool is not installed ($how installs it; CI=true runs this) ==="
      exit 0
    fi
  done
}

# The Linux build (default build-test) whose stakko-sim the cross builds are
# compared with: prints its absolute path, or fails naming the script.
#   stakko_native_build SCRIPT [DIR]
stakko_native_build() {
  local dir="${2:-build-test}" native
  native="$(cd "$dir" 2>/dev/null && pwd || true)"
  if [ -z "$native" ] || [ ! -x "$native/stakko-sim" ]; then
    echo "$1: no Linux build with stakko-sim in $dir" >&2
    return 1
  fi
  echo "$native"
}
