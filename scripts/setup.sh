#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Korvex needs.
# Idempotent: packages that are already installed are skipped.
set -euo pipefail

PACKAGES=(
  cmake g++ make ninja-build googletest libgtest-dev libbenchmark-dev clang-format-15
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64 fonts-wine
  xvfb xauth xdotool xclip x11-utils imagemagick libx11-dev libxtst-dev
  nsis zip unzip
  libxfixes3 libxi6 libxrandr2 libxrender1 libxcursor1 libxinerama1 libxcomposite1
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
