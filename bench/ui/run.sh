#!/usr/bin/env bash
# Runs the window benchmark under Wine in the build tree's virtual display: bench/ui/run.sh [BUILD]
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
bash "$here/scripts/wine-session.sh" start "$build"
WINE_TEST_NAME=ui_bench bash "$here/scripts/wine-run.sh" "$build" "$build/bench/ui/ui_bench.exe"
