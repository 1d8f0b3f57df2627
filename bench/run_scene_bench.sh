#!/usr/bin/env bash
# Generates a level of about a million triangles and measures reading and
# loading it (bench/SceneLoadBench). Uses an optimised build folder of its own.
#   bench/run_scene_bench.sh [triangles]     (default 1000000)
set -euo pipefail
triangles="${1:-1000000}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VISTEL_BENCH_BUILD_DIR:-$root/build-scene-bench}"
mkdir -p "$build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release > "$build/configure.log" 2>&1 \
  || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j2 --target SceneLoadBench vistel-levelgen > /dev/null
levelgen="$(find "$build" -name vistel-levelgen -type f -perm -u+x | head -n1)"
bench="$(find "$build" -name SceneLoadBench -type f -perm -u+x | head -n1)"
out="$build/bench-level"
"$levelgen" --out "$out" --name level --triangles "$triangles" --with-settings --no-obj
"$bench" "$out/level.xml" "$out/Textures" 3
