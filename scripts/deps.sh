#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run.
# Idempotent: installs only what is missing, runs `apt-get update` once when needed.
# Works as root or through sudo.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config ccache git python3
  clang clang-format libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libjsoncpp-dev libpugixml-dev libudev-dev
  umockdev libumockdev-dev
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins libgl-dev xvfb xauth
  libdbus-1-dev dbus dbus-x11 libglib2.0-bin
  libcurl4-openssl-dev libasound2-dev libpulse-dev
  fonts-noto-cjk fonts-noto-core
  imagemagick librsvg2-bin
  desktop-file-utils appstream
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
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
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
