#!/usr/bin/env bash
# Builds the Windows plug-in on Debian 12: installs the mingw-w64 compilers,
# 64-bit Wine and the shader checker, cross-builds the third-party libraries
# (cached outside the clone, see windows-third-party.sh), then builds
#   build-windows-i686/    vistel.dll for the editor (32 bits), its checks, and
#                          the 32-bit vistel-host.exe for the test machine
#                          (scripts/test-vm.sh)
#   build-windows-x86_64/  its 64-bit twin, vistel-host.exe and the unit tests,
#                          which run under 64-bit Wine
# usage: scripts/build-windows.sh [--remove-deb-src]
#   --remove-deb-src  removes the deb-src entries this script added to apt and
#                     ends (see README)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

run_as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

packages=(
  cmake ninja-build python3 dpkg-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest
  wine64 glslang-tools
  xvfb xauth xdotool x11-utils imagemagick
)
source_list=/etc/apt/sources.list.d/vistel-deb-src.sources
if [ "${1:-}" = --remove-deb-src ]; then
  if [ -f "$source_list" ]; then
    run_as_root rm -f "$source_list"
    run_as_root apt-get update
    echo "Removed $source_list"
  fi
  exit 0
fi
bash scripts/install-packages.sh "${packages[@]}"
# Debian's source packages of the third-party libraries need deb-src
# entries. When the machine has none, they are derived from its own deb
# entries (same mirrors, suites and keys) and written to a file of ours, which
# --remove-deb-src takes away again.
derived=$(python3 scripts/apt_sources.py deb-src --own "$source_list")
if [ -n "$derived" ] && ! printf '%s\n' "$derived" | cmp -s - "$source_list"; then
  printf '%s\n' "$derived" | run_as_root tee "$source_list" >/dev/null
  run_as_root apt-get update
fi

prefix_root=$(bash scripts/windows-third-party.sh | tail -1)

configure_and_build() {
  local triple=$1 build_dir=$2
  shift 2
  mkdir -p "$build_dir"
  # -O2 with symbols: GCC 12's -O3 warns about the engine's own string code,
  # and the symbols let the checks read the entry points' code.
  cmake -S "$root" -B "$build_dir" -G Ninja -DVISTEL_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/$triple.cmake" \
    -DVISTEL_WINDOWS_PREFIX="$prefix_root/$triple" "$@" > "$build_dir/configure.log" 2>&1 \
    || { cat "$build_dir/configure.log"; exit 1; }
  cmake --build "$build_dir" -j "${VISTEL_JOBS:-2}"
}

# The product: the library, its static checks and the 32-bit host, which
# runs in the test machine (no unit tests: they run in the twin below).
configure_and_build i686-w64-mingw32 build-windows-i686 -DVISTEL_BUILD_TESTS=ON -DVISTEL_WINDOWS_STATIC_ONLY=ON
# The twin that runs under Wine, with the host and the unit tests.
configure_and_build x86_64-w64-mingw32 build-windows-x86_64 -DVISTEL_BUILD_TESTS=ON
