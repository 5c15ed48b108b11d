#!/usr/bin/env bash
# The search benchmark: bench/search/run.sh [BUILD] [FOLDERS] [RUNS]
# Builds a synthetic drive on the host, maps it as S:, times both walks under Wine, and
# prints the native find over the same tree as the floor.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
folders=${2:-20000}
runs=${3:-5}
bash "$here/scripts/wine-session.sh" start "$build"
source "$here/scripts/wine-env.sh" "$build"
tree="$WINE_TEST_DRIVES_ROOT/search_bench/s"
export WINE_TEST_NAME=search_bench WINE_TEST_DRIVES=s
export WINE_TEST_PREPARE="python3|$here/bench/search/make_tree.py|$tree|$folders"
bash "$here/scripts/wine-run.sh" "$build" "$build/bench/search/search_bench.exe" 'S:\' "$runs"
times=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N); find "$tree" > /dev/null; end=$(date +%s%N)
  times+=($(( (end - start) / 1000 )))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
awk -v us="${sorted[$(( runs / 2 ))]}" 'BEGIN { printf "  native find (floor):     median %8.1f ms\n", us / 1000 }'
