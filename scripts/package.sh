#!/usr/bin/env bash
# Builds the packages players install, into dist/:
#   scripts/package.sh            every package this project makes
#   scripts/package.sh deb        dist/stakko_<version>_amd64.deb
#   scripts/package.sh windows    dist/stakko-<version>-windows-x64.zip
#   scripts/package.sh web        dist/stakko-<version>-web.zip
# Each kind is built by scripts/package-<kind>.sh, which installs what it is
# missing first.
set -euo pipefail
cd "$(dirname "$0")/.."

kinds=(deb windows web)
if (($# > 0)); then kinds=("$@"); fi
for kind in "${kinds[@]}"; do
  script="scripts/package-$kind.sh"
  if [ ! -x "$script" ]; then
    echo "package.sh: unknown package kind '$kind' (known: deb, windows, web)" >&2
    exit 2
  fi
  "$script"
done
