#!/usr/bin/env bash
# Configures and builds one configuration.
# usage: scripts/build.sh BUILD_DIR [extra cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$1
shift
mkdir -p "$build_dir"
cmake -S "$root" -B "$build_dir" -G Ninja -DVISTEL_WERROR=ON "$@" > "$build_dir/configure.log" 2>&1 \
  || { cat "$build_dir/configure.log"; exit 1; }
cmake --build "$build_dir" -j "${VISTEL_JOBS:-2}"
