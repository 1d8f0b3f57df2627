#!/usr/bin/env bash
# Builds vistel in its two configurations (optimised, and with address and
# undefined-behaviour sanitizers) and runs every test of both, the ones that
# need a display inside a virtual X server, plus a bounded fuzzing run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-dependencies.sh
bash scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DVISTEL_SANITIZE=ON
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo

# Qt, fontconfig and Mesa keep some allocations for the life of the process.
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

in_display() {
  xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$@"
}

in_display ctest --test-dir build-asan --output-on-failure -j 1
if [ -f tests/scene/fuzz/run_fuzz.sh ]; then
  bash tests/scene/fuzz/run_fuzz.sh "${VISTEL_FUZZ_SECONDS:-60}"
fi
in_display ctest --test-dir build --output-on-failure -j 1

# --- Windows: vistel.dll built on this machine and checked here -------------
# The 32-bit plug-in gets static checks (it cannot run on these machines); its
# 64-bit twin runs the unit suites and the end-to-end runs under 64-bit Wine.
bash scripts/test-windows.sh
# --- end of Windows ----------------------------------------------------------
