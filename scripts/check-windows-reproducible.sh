#!/usr/bin/env bash
# Builds the Windows zip twice, each from its own fresh clone of HEAD (in
# different folders) with its own freshly built SDL2, and compares SDL2.dll
# and the zips byte for byte. Slow (two SDL2 builds): run it before a
# release, not in every test run.
#
#   scripts/check-windows-reproducible.sh
set -euo pipefail
cd "$(dirname "$0")/.."
work="$(mktemp -d "${TMPDIR:-/tmp}/stakko-repro.XXXXXX")"
trap 'rm -rf "$work"' EXIT
# One commit for both, whatever is committed meanwhile.
commit="$(git rev-parse HEAD)"
for n in 1 2; do
  git clone -q . "$work/tree-$n"
  git -C "$work/tree-$n" checkout -q "$commit"
  (cd "$work/tree-$n" && STAKKO_CACHE_DIR="$work/cache-$n" scripts/package-windows.sh >/dev/null)
done
status=0
dll() { find "$work/cache-$1" -name SDL2.dll -path '*/bin/*'; }
if cmp "$(dll 1)" "$(dll 2)"; then echo "SDL2.dll: identical"; else status=1; fi
zips=("$work"/tree-1/dist/*.zip)
if cmp "${zips[0]}" "$work/tree-2/dist/$(basename "${zips[0]}")"; then
  echo "$(basename "${zips[0]}"): identical"
else
  status=1
fi
exit $status
