#!/usr/bin/env bash
# Runs the extraction benchmark under Wine: bench/unzip/run.sh [BUILD] [RUNS] [BASELINE_EXE]
# It unpacks the largest catalogue archive (Bundles.zip of the build's PAYLOAD_DIR) RUNS
# times (default 7) with unzipArchive, with a floor replay of its entries and with miniunz,
# and, when BASELINE_EXE is given (the unzip_bench.exe of another build, for instance one
# saved before a change), with that build's unzipArchive too; it prints medians and ratios.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
runs=${2:-7}
baseline=${3:-}
payload=$(sed -n 's/^PAYLOAD_DIR:PATH=//p' "$build/CMakeCache.txt")
archive="$payload/Bundles.zip"
[ -f "$archive" ] || { echo "no archive at $archive" >&2; exit 1; }
files="$build/bench/unzip/miniunz.exe|$archive"
args=(Bundles.zip "$runs")
if [ -n "$baseline" ]; then
  # Copied beside the benchmark under a name of its own.
  staged=$(mktemp -d)
  cp "$baseline" "$staged/baseline.exe"
  files="$files|$staged/baseline.exe"
  args+=(baseline.exe)
fi
bash "$here/scripts/wine-session.sh" start "$build"
status=0
WINE_TEST_NAME=unzip_bench WINE_TEST_FILES="$files" \
  bash "$here/scripts/wine-run.sh" "$build" "$build/bench/unzip/unzip_bench.exe" "${args[@]}" || status=$?
bash "$here/scripts/wine-session.sh" stop "$build"
[ -n "$baseline" ] && rm -rf "$staged"
exit $status
