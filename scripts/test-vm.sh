#!/usr/bin/env bash
# Runs the real 32-bit Windows plug-in: the i686 vistel-host.exe and
# vistel.dll under 32-bit Wine in a Debian guest that qemu emulates (these
# machines cannot run 32-bit programs themselves). The guest's disk image is
# made once and cached (scripts/vm/guest-image.sh); each run boots it with a
# throw-away snapshot, hands the binaries and tests over through a shared
# folder and reads back logs and pictures, left in build-vm/results/.
# The Linux build's flashlight pictures (build/, made by scripts/build.sh) are
# the reference the guest's Direct3D 9 pictures are compared with.
# usage: [VISTEL_VM_TESTS="test_a.py ..."] scripts/test-vm.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# The end-to-end tests of tests/windows that run in the guest. In the
# Debian 13 guest (32-bit Wine 10, Direct3D 9 on Mesa) the preview window is
# Wine's foreground and active window from the start, without a window
# manager (Wine ignores the X focus events then, which does not matter);
# what kept its first frame away for minutes was Mesa's llvmpipe compiling
# code under the emulator for every texture the level loads (20 to 160 s
# each). The guest draws with softpipe instead (scripts/vm/run-tests.sh):
# the first frame about 100 s after OK, then a few seconds to half a minute
# a frame on a shared machine.
vm_tests=(
  test_vm_hlsl.py
  test_wine_boundary.py
  test_wine_preview.py
  test_wine_sheet.py
  test_wine_state.py
  test_vm_flashlight.py
)
# A developer may run a few of them: VISTEL_VM_TESTS="test_a.py test_b.py".
if [ -n "${VISTEL_VM_TESTS:-}" ]; then
  read -ra vm_tests <<< "$VISTEL_VM_TESTS"
fi

bash scripts/install-packages.sh qemu-system-x86 mmdebstrap e2fsprogs

start=$(date +%s)
bash scripts/build-windows.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
image=$(bash scripts/vm/guest-image.sh | tail -1)
echo "Guest image ready in $(( $(date +%s) - start )) s: $image"

job=$(mktemp -d)
trap 'rm -rf "$job"' EXIT
tree=$job/tree
mkdir -p "$tree/bin" "$tree/tests/windows" "$tree/tests/e2e" "$tree/examples" "$tree/reference" \
  "$tree/runtime/shaders"
cp build-windows-i686/host/vistel-host.exe build-windows-i686/plugin/vistel.dll \
  build-windows-i686/tests/windows/vistel-window-list.exe \
  build-windows-i686/tests/windows/vistel-hlsl-compile.exe "$tree/bin/"
cp runtime/shaders/*.hlsl "$tree/runtime/shaders/"
cp tests/windows/*.py "$tree/tests/windows/"
cp tests/e2e/host_process.py tests/e2e/vistel_e2e.py "$tree/tests/e2e/"
cp -r examples/sample "$tree/examples/"
cp scripts/vm/run-tests.sh "$job/job.sh"
printf '%s\n' "${vm_tests[@]}" > "$job/tests.list"

# The same view drawn by the Linux build with the GLSL programs.
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" env \
  VISTEL_HOST="$root/build/host/vistel-host" VISTEL_PLUGIN="$root/build/plugin/libvistel.so" \
  VISTEL_X11_CLOSE="$root/build/tests/e2e/tools/vistel-x11-close" VISTEL_SOURCE_DIR="$root" \
  PYTHONPATH="$root/tests/e2e" PYTHONDONTWRITEBYTECODE=1 \
  python3 tests/windows/flashlight_reference.py "$tree/reference"

boot_start=$(date +%s)
status=0
bash scripts/vm/boot-guest.sh "$image" "$job" --snapshot --timeout 3600 || status=$?
cat "$job/job.log" 2>/dev/null || true
rm -rf build-vm/results
mkdir -p build-vm
cp -r "$job/results" build-vm/results 2>/dev/null || true
cp "$job/console.log" "$tree/reference/"*.png build-vm/results/ 2>/dev/null || true
echo "Guest run: $(( $(date +%s) - boot_start )) s; stage: $(( $(date +%s) - start )) s" \
  "(logs and pictures in build-vm/results)"
if [ $status -ne 0 ]; then
  for log in build-vm/results/*.py.log; do
    grep -q "^OK" "$log" 2>/dev/null || { echo "== $log"; tail -40 "$log"; }
  done
fi
exit $status
