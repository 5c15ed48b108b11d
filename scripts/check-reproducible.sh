#!/usr/bin/env bash
# Checks that the shipped program is reproducible: copies the tracked files of this tree into
# two folders of different names, builds only the program in each, one after the other, and
# compares the two executables byte for byte.
#   scripts/check-reproducible.sh [WORK]   (WORK: where the two copies go; default: a new
#                                           folder below /var/tmp, removed afterwards)
# Prints the size and SHA-256 of both; exit code 0 when they are identical.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/install-packages.sh"
work=${1:-}
if [ -z "$work" ]; then
  work=$(mktemp -d /var/tmp/qx-reproducible.XXXXXX)
  trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work"

# Two folders whose names differ in content and length.
trees=("$work/first" "$work/second-copy-of-the-tree")
for tree in "${trees[@]}"; do
  rm -rf "$tree"
  mkdir -p "$tree"
  (cd "$here" && git ls-files -z | xargs -0 cp --parents -t "$tree")
  # The Debian sources that a build of this tree fetched already are copied rather than
  # fetched again; each build still unpacks and builds them in its own folder.
  if [ -f "$here/build/_sources/minizip.unpacked" ] && [ -f "$here/build/_sources/libjpeg-turbo.unpacked" ]; then
    mkdir -p "$tree/build/_sources"
    for p in minizip libjpeg-turbo; do
      cp -a "$here/build/_sources/$p" "$here/build/_sources/$p.unpacked" "$tree/build/_sources/"
    done
  fi
done

for tree in "${trees[@]}"; do
  echo "Building the program in $tree"
  cmake -S "$tree" -B "$tree/build" -DCMAKE_BUILD_TYPE=Release > "$tree/configure.log" 2>&1 ||
    { cat "$tree/configure.log"; exit 1; }
  cmake --build "$tree/build" --target qx-installer --parallel "$(nproc)" > "$tree/build.log" 2>&1 ||
    { cat "$tree/build.log"; exit 1; }
done

first="${trees[0]}/build/installer/QXInstaller.exe"
second="${trees[1]}/build/installer/QXInstaller.exe"
for exe in "$first" "$second"; do
  echo "$(stat -c %s "$exe") bytes  $(sha256sum "$exe")"
done
if cmp "$first" "$second"; then
  echo "reproducible: the two builds are identical"
else
  echo "NOT reproducible: the two builds differ" >&2
  exit 1
fi
