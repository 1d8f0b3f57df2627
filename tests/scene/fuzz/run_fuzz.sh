#!/usr/bin/env bash
# Builds the scene fuzz targets with clang in their own build folder, seeds
# them with generated levels, the reader corpus and the regression documents,
# and fuzzes each for a bounded time:
#   - vistel_scene_fuzzer: arbitrary bytes through the scene loader;
#   - vistel_xml_differential_fuzzer: the scene reader against the engine's
#     own XML reader (run in a child process per input).
#   tests/scene/fuzz/run_fuzz.sh [seconds per target]        (default 60)
# Inputs that crash, hang, leak or read differently are written to
# <build>/artifacts; copy them into tests/scene/regressions once the fault is
# fixed (the scene tests replay that folder through the loader and through
# both readers).
set -euo pipefail
seconds="${1:-60}"
root="$(cd "$(dirname "$0")/../../.." && pwd)"
build="${VISTEL_FUZZ_BUILD_DIR:-$root/build-fuzz}"

mkdir -p "$build"
cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVISTEL_FUZZ=ON -DVISTEL_BUILD_TESTS=ON > "$build/configure.log" 2>&1 \
  || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j2 --target vistel_scene_fuzzer vistel_xml_differential_fuzzer vistel-levelgen

seeds="$build/seeds"
mkdir -p "$seeds" "$build/corpus" "$build/corpus-differential" "$build/artifacts"
levelgen="$(find "$build" -name vistel-levelgen -type f -perm -u+x | head -n1)"
for rooms in 1 2 3; do
  "$levelgen" --out "$seeds/gen$rooms" --name level --rooms "$rooms" --with-settings --no-obj --no-textures > /dev/null
  cp "$seeds/gen$rooms/level.xml" "$seeds/generated-$rooms.txs"
  rm -rf "$seeds/gen$rooms"
done
cp "$root"/tests/scene/regressions/* "$root"/tests/scene/xml-corpus/* "$seeds/"

run() {
  local target="$1" corpus="$2"
  shift 2
  local fuzzer
  fuzzer="$(find "$build" -name "$target" -type f -perm -u+x | head -n1)"
  "$fuzzer" "$corpus" "$seeds" -dict="$root/tests/scene/fuzz/txs.dict" -max_total_time="$seconds" \
    -max_len=65536 -timeout=20 -artifact_prefix="$build/artifacts/" -print_final_stats=1 "$@"
}
run vistel_scene_fuzzer "$build/corpus" -rss_limit_mb=2048
# No memory-watching thread here: every input forks a child.
run vistel_xml_differential_fuzzer "$build/corpus-differential" -rss_limit_mb=0
