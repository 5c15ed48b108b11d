#!/usr/bin/env bash
# Installs what is missing, then configures and builds the tree in BUILD (default: build).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
bash "$here/scripts/install-packages.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build" --parallel "$(nproc)"
