#!/usr/bin/env bash
# Builds the Windows plug-in (scripts/build-windows.sh) and runs its tests:
# - the static checks of the 32-bit vistel.dll (machine, export table,
#   imports, stdcall), which is the product; it runs in the test machine of
#   scripts/test-vm.sh, since these machines cannot run 32-bit programs;
# - the HLSL programs' syntax;
# - the unit suites and the end-to-end runs of the 64-bit twin, built from
#   the same sources, under 64-bit Wine in a virtual X server.
# VISTEL_PICTURE_DIR, when set, receives the pictures the end-to-end runs take.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/build-windows.sh

ctest --test-dir build-windows-i686 --output-on-failure

# A Wine prefix of the build's own, made once; its server stays up for the
# whole run so that each test program starts quickly.
export WINEPREFIX="$root/build-windows-x86_64/wine-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wineserver=/usr/lib/wine/wineserver64
[ -x "$wineserver" ] || wineserver=wineserver

xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
  set -e
  /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
  # Keeps the server (already started by wineboot) up between programs.
  "$1" -p 60 || true
  status=0
  ctest --test-dir build-windows-x86_64 --output-on-failure -j 1 || status=$?
  "$1" -k || true
  exit $status
' test-windows "$wineserver"
