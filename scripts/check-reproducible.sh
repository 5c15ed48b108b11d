#!/usr/bin/env bash
# Checks that the shipped program is reproducible: copies the tracked files of this tree into
# two folders of different names, builds only the program in each, one after the other, and
# compares the two executables byte for byte.
#   scripts/check-reproducible.sh [WORK]   (WORK: where the two copies go; default: a new
#                                           folder below /tmp for one and below /var/tmp for
#                                           the other, removed afterwards)
# The default folders lie on either side of the toolchain's /usr in sort order: the linker
# orders some sections by the paths of its input files, so a path that sorts differently
# shows a build that depends on where it is made.
# Prints the size and SHA-256 of both; exit code 0 when they are identical.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/install-packages.sh"
if [ -n "${1:-}" ]; then
  mkdir -p "$1"
  roots=("$1" "$1")
else
  roots=("$(mktemp -d /tmp/qx-reproducible.XXXXXX)" "$(mktemp -d /var/tmp/qx-reproducible.XXXXXX)")
  trap 'rm -rf "${roots[@]}"' EXIT
fi

# Two folders whose names differ in content and length.
trees=("${roots[0]}/first" "${roots[1]}/second-copy-of-the-tree")
for tree in "${trees[@]}"; do
  rm -rf "$tree"
  mkdir -p "$tree"
  (cd "$here" && git ls-files -z | xargs -0 cp --parents -t "$tree")
  # The Debian sources that a build of this tree fetched already (the shipped program's tree
  # or the 64-bit twin's) are copied rather than fetched again; each build still unpacks and
  # builds them in its own folder.
  for fetched in "$here/build/_sources" "$here/build-x64/_sources"; do
    if [ -f "$fetched/minizip.unpacked" ] && [ -f "$fetched/libjpeg-turbo.unpacked" ]; then
      mkdir -p "$tree/build/_sources"
      for p in minizip libjpeg-turbo; do
        cp -a "$fetched/$p" "$fetched/$p.unpacked" "$tree/build/_sources/"
      done
      break
    fi
  done
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
