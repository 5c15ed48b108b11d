#!/usr/bin/env bash
# The search benchmark: bench/search/run.sh [BUILD] [FOLDERS] [RUNS]
# Builds a synthetic drive on the host, maps it as S:, times the native find over it (the
# floor) and then both walks under Wine.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
folders=${2:-20000}
runs=${3:-5}
bash "$here/scripts/wine-session.sh" start "$build"
source "$here/scripts/wine-env.sh" "$build"
tree="$WINE_TEST_DRIVES_ROOT/search_bench/s"
export WINE_TEST_NAME=search_bench WINE_TEST_DRIVES=s
export WINE_TEST_PREPARE="bash|$here/bench/search/prepare.sh|$tree|$folders|$runs"
bash "$here/scripts/wine-run.sh" "$build" "$build/bench/search/search_bench.exe" 'S:\' "$runs"
