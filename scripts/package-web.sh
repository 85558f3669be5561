#!/usr/bin/env bash
# Builds dist/stakko-<version>-web.zip on Debian: the game compiled to
# WebAssembly with emscripten against SDL2 built from Debian's own sources
# (once, then cached), with its page. Unpacked, any static web server serves
# it as it is:
#   index.html  page.js  stakko.js  stakko.wasm  stakko.data
# Installs what is missing first.
#
#   scripts/package-web.sh [extra cmake arguments]
# The build folder is build-web (STAKKO_WEB_BUILD overrides it).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
source scripts/web-common.sh

web_install_packages
build="${STAKKO_WEB_BUILD:-build-web}"
web_build_page "$build" "$@"

version="$(stakko_version)"
stage="$build/zip"
rm -rf "$stage"
mkdir -p "$stage"
for file in index.html page.js stakko.js stakko.wasm stakko.data; do
  cp "$build/page/$file" "$stage/"
done

# The loader names its data with a random id at each link (a key for a
# preload cache the page does not use): the data's own digest instead.
data_id="$(sha256sum "$stage/stakko.data" | cut -c1-32)"
sed -i -E "s/\"package_uuid\":\"[0-9a-fA-F-]+\"/\"package_uuid\":\"$data_id\"/" "$stage/stakko.js"
grep -q "\"package_uuid\":\"$data_id\"" "$stage/stakko.js" || { web_log "no data id in stakko.js"; exit 1; }

# Every entry dated by the last commit and listed in one order, so the same
# sources give the same zip.
epoch="$(git log -1 --format=%ct 2>/dev/null || echo 315532800)"
find "$stage" -exec touch -h -d "@$epoch" {} +
mkdir -p dist
zip_path="$PWD/dist/stakko-$version-web.zip"
rm -f "$zip_path"
(cd "$stage" && find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort | TZ=UTC zip -X -q -@ "$zip_path")
echo "$zip_path"
