#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need, when missing.
#   scripts/setup-deps.sh [PACKAGE...]
set -euo pipefail

# With arguments, those packages instead of the whole list (the package and
# Windows builds name what they alone need).
if (($# > 0)); then
  packages=("$@")
else
  packages=(g++ make cmake pkg-config libsdl2-dev libx11-dev libxext-dev googletest libgtest-dev libbenchmark-dev zlib1g-dev
            xvfb xauth xdotool imagemagick x11-utils x11-apps openbox python3)
  # The Debian package's checks (scripts/package-deb.sh installs what building it needs).
  packages+=(lintian desktop-file-utils appstream)
fi
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if ((${#missing[@]} == 0)); then
  exit 0
fi
echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get -o DPkg::Lock::Timeout=900 update -qq
$SUDO apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}"
