#!/usr/bin/env bash
# Builds the scene loader's fuzz target with clang in its own build folder,
# seeds it with generated levels and the regression documents, and fuzzes
# for a bounded time.
#   tests/scene/fuzz/run_fuzz.sh [seconds]        (default 60)
# Inputs that crash, hang or leak are written to <build>/artifacts; copy
# them into tests/scene/regressions once the fault is fixed.
set -euo pipefail
seconds="${1:-60}"
root="$(cd "$(dirname "$0")/../../.." && pwd)"
build="${VISTEL_FUZZ_BUILD_DIR:-$root/build-fuzz}"

mkdir -p "$build"
cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVISTEL_FUZZ=ON -DVISTEL_BUILD_TESTS=ON > "$build/configure.log" 2>&1 \
  || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j2 --target vistel_scene_fuzzer vistel-levelgen

seeds="$build/seeds"
corpus="$build/corpus"
mkdir -p "$seeds" "$corpus" "$build/artifacts"
levelgen="$(find "$build" -name vistel-levelgen -type f -perm -u+x | head -n1)"
for rooms in 1 2 3; do
  "$levelgen" --out "$seeds/gen$rooms" --name level --rooms "$rooms" --with-settings --no-obj --no-textures > /dev/null
  cp "$seeds/gen$rooms/level.xml" "$seeds/generated-$rooms.txs"
  rm -rf "$seeds/gen$rooms"
done
cp "$root"/tests/scene/regressions/* "$seeds/"

fuzzer="$(find "$build" -name vistel_scene_fuzzer -type f -perm -u+x | head -n1)"
exec "$fuzzer" "$corpus" "$seeds" \
  -dict="$root/tests/scene/fuzz/txs.dict" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$build/artifacts/" -print_final_stats=1
