#!/usr/bin/env bash
# Installs what building, running and testing vistel needs on Debian 12.
# Quick when everything is there already; uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config python3
  libirrlicht-dev libgl-dev libgl1-mesa-dri libx11-dev libxfixes-dev libjpeg-dev
  qt6-base-dev qt6-qpa-plugins fonts-dejavu-core
  libgtest-dev libgmock-dev
  clang libclang-rt-14-dev
  libpugixml-dev librapidxml-dev
  xvfb xauth xdotool x11-utils imagemagick locales
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
    || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

run_as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}
echo "Installing: ${missing[*]}"
run_as_root apt-get update
run_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
