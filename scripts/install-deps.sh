#!/usr/bin/env bash
# Installs the Debian packages the program needs to build, test and run.
# Only what is missing is installed; apt-get update runs once, when needed.
set -euo pipefail

PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-charts-dev qt6-multimedia-dev qt6-translations-l10n qt6-svg-dev
  libqt6opengl6-dev libxkbcommon-dev qt6-image-formats-plugins
  libsqlcipher-dev libssl-dev libfreexl-dev mdbtools-dev
  libgtest-dev libgl-dev
  fonts-noto-cjk xvfb xauth
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

echo "Installing: ${missing[*]}"
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
