#!/usr/bin/env bash
# Sets everything up and previews the bundled sample level.
# With a display, the reference host opens the settings sheet and then the
# walk-through window. Without one, the same preview runs in a virtual X
# server as a short tour that drives itself with real key presses and leaves
# what it showed as pictures in a folder (it prints which).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-dependencies.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo

if [ -n "${DISPLAY:-}" ] && xdpyinfo > /dev/null 2>&1; then
  exec build/host/vistel-host "$@"
fi
export VISTEL_HOST="$root/build/host/vistel-host"
export VISTEL_PLUGIN="$root/build/plugin/libvistel.so"
export VISTEL_X11_CLOSE="$root/build/tests/e2e/tools/vistel-x11-close"
export VISTEL_SOURCE_DIR="$root"
export PYTHONPATH="$root/tests/e2e"
export PYTHONDONTWRITEBYTECODE=1
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" python3 scripts/tour.py "${1:-$root/tour}"
