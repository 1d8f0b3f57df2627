#!/usr/bin/env bash
# Builds vistel in its two configurations (optimised, and with address and
# undefined-behaviour sanitizers) and runs every test of both, the ones that
# need a display inside a virtual X server, plus a bounded fuzzing run.
# A failing step does not stop the others: every configuration is built and
# tested, and the script fails at the end, naming the steps that failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-dependencies.sh || exit 1

# Every test of the sanitizer build checks for leaks; lsan.supp names the
# few allocations that libraries outside the project keep for good.
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
# intercept_tls_get_addr=0: the leak checker of GCC 12's runtime guesses the
# bounds of a thread's dynamic TLS blocks from the bytes before them, and at
# random heap addresses the guess is garbage that crashes the checker at exit
# ("Tracer caught signal 11"). Those blocks are heap allocations reachable
# from the thread's TLS vector, so the check loses nothing without it.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

failed=()
step() {
  local name=$1
  shift
  echo "== $name"
  if ! "$@"; then
    echo "== $name FAILED"
    failed+=("$name")
    return 1
  fi
}

# -noreset: the X server otherwise resets whenever its last client leaves
# (between two windowed tests) and refuses connections while it does.
in_display() {
  xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" "$@"
}

if step "build (sanitizers)" bash scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DVISTEL_SANITIZE=ON; then
  step "tests (sanitizers)" in_display ctest --test-dir build-asan --output-on-failure -j 1
fi
if [ -f tests/scene/fuzz/run_fuzz.sh ]; then
  step "fuzzing" bash tests/scene/fuzz/run_fuzz.sh "${VISTEL_FUZZ_SECONDS:-60}"
fi
if step "build (RelWithDebInfo)" bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo; then
  step "tests (RelWithDebInfo)" in_display ctest --test-dir build --output-on-failure -j 1
fi

# --- Windows: vistel.dll built on this machine and checked here -------------
# The 32-bit plug-in gets static checks here; its 64-bit twin runs the unit
# suites and the end-to-end runs under 64-bit Wine.
step "Windows (static checks; unit and end-to-end tests under Wine)" bash scripts/test-windows.sh
# The real 32-bit plug-in and host under 32-bit Wine, in an emulated Debian
# guest (its disk image is made once and cached; see scripts/test-vm.sh).
step "Windows 32-bit (end-to-end tests in the test machine)" bash scripts/test-vm.sh
# --- end of Windows ----------------------------------------------------------

if [ ${#failed[@]} -ne 0 ]; then
  echo "FAILED: ${failed[*]}" >&2
  exit 1
fi
echo "All builds and tests passed."
