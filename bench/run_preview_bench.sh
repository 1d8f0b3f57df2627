#!/usr/bin/env bash
# Times the preview's path from OK to the first frame against a bare engine
# viewer on generated levels of 100k, 1M and 5M triangles (minutes, and about
# 3 GB; 20M as well with --with-20m, whose document alone is about 2.8 GB),
# alternately, and prints per-stage
# times, ratios, peak memory and frame rates; first the document reader's
# speed beside the engine's own XML reader on the 1M level. Builds an optimised copy in a
# folder of its own; runs in a virtual X server when there is no display.
#   bench/run_preview_bench.sh [--with-20m] [--runs N] [--fps-seconds S]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VISTEL_BENCH_BUILD_DIR:-$root/build-preview-bench}"
triangles=(100000 1000000 5000000)
extra=()
while [ $# -gt 0 ]; do
  case "$1" in
    --with-5m) ;; # measured on every run now
    --with-20m) triangles+=(20000000) ;;
    --runs|--fps-seconds) extra+=("$1" "$2"); shift ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
  shift
done
mkdir -p "$build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > "$build/configure.log" 2>&1 \
  || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j "${VISTEL_JOBS:-2}" --target PreviewPathBench BareViewerBench SceneLoadBench vistel-levelgen > /dev/null
# The document reader's speed on the 1M level, beside the engine's own XML
# reader (and pugixml and RapidXML where installed). It comes first: right
# after the 20M level's runs, which free gigabytes, every reader read a
# third slower in one run.
level="$build/levels/level-1000000"
[ -f "$level/level.xml" ] || "$build/tools/level_generator/vistel-levelgen" --out "$level" \
  --triangles 1000000 > /dev/null
echo "== reading the 1M level's document: $level/level.xml =="
"$build/bench/SceneLoadBench" "$level/level.xml" "$level/Textures" 3
echo

command=(python3 "$root/bench/preview_bench.py" "$build" "$build/levels" --triangles "${triangles[@]}" "${extra[@]}")
if [ -n "${DISPLAY:-}" ]; then
  "${command[@]}"
else
  xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "${command[@]}"
fi
