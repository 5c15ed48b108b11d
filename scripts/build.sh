#!/usr/bin/env bash
# Installs what is missing, then configures and builds the tree in BUILD_DIR (default: build).
# The last line is the SHA-256 of the program, in the form that `sha256sum -c` reads.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
bash "$here/scripts/install-packages.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build" --parallel "$(nproc)"
(cd "$build/installer" && sha256sum QXInstaller.exe)
