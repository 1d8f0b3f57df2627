#!/usr/bin/env bash
# Installs what building, running and testing vistel needs on Debian 12.
# Quick when everything is there already; uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config python3
  libirrlicht-dev libgl-dev libgl1-mesa-dri libx11-dev libxfixes-dev libxdamage-dev libjpeg-dev
  qt6-base-dev qt6-qpa-plugins fonts-dejavu-core
  libgtest-dev libgmock-dev
  clang libclang-rt-14-dev
  libpugixml-dev librapidxml-dev
  xvfb xauth xdotool x11-utils imagemagick locales
)

bash "$(dirname "$0")/install-packages.sh" "${packages[@]}"
