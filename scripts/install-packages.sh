#!/usr/bin/env bash
# Installs those of the named Debian packages that are missing; quick when all
# are there. Uses sudo when not run as root.
# usage: scripts/install-packages.sh PACKAGE...
set -euo pipefail
missing=()
for package in "$@"; do
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
