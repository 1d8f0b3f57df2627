# The test boot's job, run by the guest's init from the shared folder: copies
# the binaries and tests to the guest's own disk (Windows C++ programs do not
# start from the 9p folder), starts an X server and one Wine server for the
# whole boot, runs each end-to-end test named in tests.list with the 32-bit
# host and plug-in, and leaves logs and pictures in results/.
set -u
shared=$(pwd)
results=$shared/results
mkdir -p "$results"
. /usr/local/lib/vistel-wine.sh

work=/root/vistel
rm -rf "$work"
cp -r "$shared/tree" "$work"

Xvfb :1 -screen 0 1280x1024x24 -nolisten tcp -noreset >"$results/xvfb.log" 2>&1 &
export DISPLAY=:1
for _ in $(seq 100); do [ -S /tmp/.X11-unix/X1 ] && break; sleep 0.2; done
"$VISTEL_WINESERVER" -p
# Wine's own start-up of the prefix, so that the first test does not pay it.
"$VISTEL_WINE" cmd /c exit >/dev/null 2>&1

export VISTEL_HOST=$work/bin/vistel-host.exe
export VISTEL_PLUGIN=$work/bin/vistel.dll
export VISTEL_WINDOW_LIST=$work/bin/vistel-window-list.exe
export VISTEL_HLSL_COMPILE=$work/bin/vistel-hlsl-compile.exe
export VISTEL_SOURCE_DIR=$work
export VISTEL_PICTURE_DIR=$results
export VISTEL_SHADERS_EXPECTED=1
# Wine 10 moves the focus into a newly shown page: the sheet's pages are
# switched with Ctrl+Tab there.
export VISTEL_SHEET_NEXT_PAGE_KEY=ctrl+Tab
export VISTEL_FLASHLIGHT_REFERENCE=$work/reference
# Under the emulator a preview's first frame comes a minute or two after the
# sheet's OK and a frame takes seconds: every wait may be longer.
export VISTEL_TIME_SCALE=${VISTEL_TIME_SCALE:-8}
# Mesa's software rasterizer without its LLVM compiler: under the emulator
# llvmpipe spent 20 to 160 s compiling code for each texture the level
# loads (the sample level's first frame came 5 to 6 minutes after OK);
# softpipe interprets instead and loads each in about 4 s (first frame
# about 100 s after OK), at a few seconds per frame.
export GALLIUM_DRIVER=softpipe
export PYTHONPATH=$work/tests/windows:$work/tests/e2e
export PYTHONDONTWRITEBYTECODE=1

passed=0 failed=0
while read -r test; do
  case $test in ''|'#'*) continue ;; esac
  start=$(date +%s)
  if (cd "$work" && timeout 3000 python3 "tests/windows/$test" -v) >"$results/$test.log" 2>&1; then
    passed=$((passed + 1)); outcome=passed
  else
    failed=$((failed + 1)); outcome=FAILED
    # A failed test may leave Windows processes behind (killing Wine's
    # launcher does not end them): a fresh Wine server for the next test.
    "$VISTEL_WINESERVER" -k; "$VISTEL_WINESERVER" -w
    "$VISTEL_WINESERVER" -p
  fi
  echo "$test: $outcome in $(( $(date +%s) - start )) s"
done < "$shared/tests.list"

"$VISTEL_WINESERVER" -k
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
