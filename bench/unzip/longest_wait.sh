#!/usr/bin/env bash
# The window's longest wait while unzipArchive unpacks an archive of many small entries, in
# process, under Wine:  bench/unzip/longest_wait.sh [BUILD] [RUNS] [ENTRIES]
# The archive (bench/unzip/many_entries.py, default 50,000 entries) is written into a fresh
# temporary folder first.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
runs=${2:-5}
entries=${3:-50000}
staged=$(mktemp -d)
python3 "$here/bench/unzip/many_entries.py" "$staged/many.zip" "$entries"
bash "$here/scripts/wine-session.sh" start "$build"
status=0
WINE_TEST_NAME=unzip_bench WINE_TEST_FILES="$staged/many.zip" \
  bash "$here/scripts/wine-run.sh" "$build" "$build/bench/unzip/unzip_bench.exe" --longest-wait many.zip "$runs" || status=$?
bash "$here/scripts/wine-session.sh" stop "$build"
rm -rf "$staged"
exit $status
