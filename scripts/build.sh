#!/usr/bin/env bash
# Installs what is missing, then configures and builds a tree:
#   build.sh          the shipped 32-bit program and its tests in BUILD_DIR (default: build);
#                     the last line is the SHA-256 of the program, in the form that
#                     `sha256sum -c` reads. Needs only the cross compiler: any machine.
#   build.sh --twin   the 64-bit twin of the program and of every test program in BUILD_DIR
#                     (default: build-x64), for the tests on the 64-bit path (scripts/machine.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/machine.sh"
if [ "${1:-}" = --twin ]; then
  QX_TARGET_BITS=64
else
  QX_TARGET_BITS=32
fi
choose_path "$here"
build=${BUILD_DIR:-$QX_DEFAULT_BUILD}
bash "$here/scripts/install-packages.sh"
# The Debian sources another tree of this checkout fetched already are copied, not fetched.
for other in "$here/build" "$here/build-x64"; do
  if [ ! -f "$build/_sources/minizip.unpacked" ] && [ "$other" != "$build" ] &&
     [ -f "$other/_sources/minizip.unpacked" ] && [ -f "$other/_sources/libjpeg-turbo.unpacked" ]; then
    mkdir -p "$build/_sources"
    for p in minizip libjpeg-turbo; do
      cp -a "$other/_sources/$p" "$other/_sources/$p.unpacked" "$build/_sources/"
    done
  fi
done
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$QX_TOOLCHAIN"
fi
cmake --build "$build" --parallel "$(nproc)"
if [ "$QX_TARGET_BITS" = 64 ]; then
  echo "built the 64-bit twin for the tests: $build/installer/QXInstaller.exe (not the shipped program)"
else
  (cd "$build/installer" && sha256sum QXInstaller.exe)
fi
