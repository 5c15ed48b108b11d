#!/usr/bin/env bash
# Runs the extraction benchmark under Wine: bench/unzip/run.sh [BUILD] [RUNS]
# It unpacks the largest catalogue archive (Bundles.zip of the build's PAYLOAD_DIR) with
# unzipArchive and with miniunz, RUNS times each (default 7), and prints the medians.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
runs=${2:-7}
payload=$(sed -n 's/^PAYLOAD_DIR:PATH=//p' "$build/CMakeCache.txt")
archive="$payload/Bundles.zip"
[ -f "$archive" ] || { echo "no archive at $archive" >&2; exit 1; }
bash "$here/scripts/wine-session.sh" start "$build"
status=0
WINE_TEST_NAME=unzip_bench WINE_TEST_FILES="$build/bench/unzip/miniunz.exe|$archive" \
  bash "$here/scripts/wine-run.sh" "$build" "$build/bench/unzip/unzip_bench.exe" Bundles.zip "$runs" || status=$?
bash "$here/scripts/wine-session.sh" stop "$build"
exit $status
