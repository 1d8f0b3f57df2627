# Sourced by the guest's jobs: the 32-bit Wine of the guest and its prefix.
export HOME=/root
export WINEPREFIX=/root/.wine
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
VISTEL_WINE=/usr/lib/wine/wine
VISTEL_WINESERVER=$(ls /usr/lib/wine/wineserver32 /usr/lib/wine/wineserver /usr/bin/wineserver 2>/dev/null | head -1)
export VISTEL_WINE VISTEL_WINESERVER
