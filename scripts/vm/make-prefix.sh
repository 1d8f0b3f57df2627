# The first boot's job: makes the 32-bit Wine prefix that every later boot
# starts from (the image keeps it; later boots write to a snapshot).
set -e
. /usr/local/lib/vistel-wine.sh
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" sh -c "$VISTEL_WINE wineboot --init"
"$VISTEL_WINESERVER" -w
test -f "$WINEPREFIX/system.reg"
du -sh "$WINEPREFIX"
