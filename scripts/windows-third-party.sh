#!/usr/bin/env bash
# Cross-builds the third-party libraries of the Windows plug-in (libjpeg-turbo,
# libpng and Irrlicht, from Debian's source packages) for i686 and x86_64 into
# a cache directory outside the clone, and prints that directory's path as the
# last line. The cache is keyed by a hash of this script, the toolchain files
# and the Irrlicht build recipe, so a changed recipe builds afresh and an unchanged one is reused.
# usage: scripts/windows-third-party.sh   (packages must be installed already)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${VISTEL_JOBS:-2}

key=$(cat "$root/scripts/windows-third-party.sh" "$root"/cmake/toolchains/*.cmake \
  "$root"/cmake/irrlicht-windows/* | sha256sum | cut -c1-16)
cache_root=${VISTEL_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}}
cache=$cache_root/vistel-windows-$key
if [ -f "$cache/complete" ]; then
  echo "Third-party libraries: cached in $cache" >&2
  echo "$cache"
  exit 0
fi
rm -rf "$cache"
mkdir -p "$cache/src"
log=$cache/build.log
echo "Third-party libraries: building into $cache (log: $log)" >&2

# Debian's source packages; the entry for them is added by build-windows.sh.
# A mirror can list a version whose files it does not serve (a security
# update's, once a point release took it over): each package comes at the
# newest of its listed versions that downloads, each try in a folder of its
# own so that a failed one leaves nothing behind.
fetch_source() {
  local package=$1 version try
  for version in "" $(apt-cache showsrc "$package" | sed -n 's/^Version: //p' | sort -rVu); do
    try="$cache/src/try"
    rm -rf "$try"
    mkdir -p "$try"
    if (cd "$try" && apt-get source --download-only "$package${version:+=$version}" >>"$log" 2>&1); then
      mv "$try"/* "$cache/src/"
      rm -rf "$try"
      return 0
    fi
  done
  rm -rf "$try"
  return 1
}
{ fetch_source libjpeg-turbo && fetch_source libpng1.6 && fetch_source irrlicht \
  && (cd "$cache/src" && for dsc in *.dsc; do dpkg-source --no-check -x "$dsc" >>"$log" 2>&1; done); } \
  || { tail -30 "$log" >&2; exit 1; }
jpeg_src=$(ls -d "$cache"/src/libjpeg-turbo-*/)
png_src=$(ls -d "$cache"/src/libpng1.6-*/)
irr_src=$(ls -d "$cache"/src/irrlicht-*/)

step() {
  local what=$1
  shift
  echo "  $what" >&2
  "$@" >>"$log" 2>&1 || { echo "failed: $what" >&2; tail -40 "$log" >&2; exit 1; }
}

for triple in i686-w64-mingw32 x86_64-w64-mingw32; do
  prefix=$cache/$triple
  work=$cache/build/$triple
  toolchain=$root/cmake/toolchains/$triple.cmake
  common=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain"
          -DVISTEL_WINDOWS_PREFIX="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix"
          -DCMAKE_POLICY_DEFAULT_CMP0091=NEW)

  step "$triple libjpeg-turbo" cmake -S "$jpeg_src" -B "$work/jpeg" "${common[@]}" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF
  step "$triple libjpeg-turbo build" cmake --build "$work/jpeg" -j "$jobs" --target install

  step "$triple libpng" cmake -S "$png_src" -B "$work/png" "${common[@]}" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_PROGRAMS=ON
  step "$triple libpng build" cmake --build "$work/png" -j "$jobs" --target install

  step "$triple Irrlicht" cmake -S "$root/cmake/irrlicht-windows" -B "$work/irrlicht" "${common[@]}" \
    -DIRRLICHT_SOURCE_DIR="$irr_src"
  step "$triple Irrlicht build" cmake --build "$work/irrlicht" -j "$jobs" --target install
done

rm -rf "$cache/build"
touch "$cache/complete"
echo "$cache"
