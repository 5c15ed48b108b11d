#!/usr/bin/env bash
# Runs the delay benchmark under Wine: bench/delay/run.sh [BUILD]
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
bash "$here/scripts/wine-session.sh" start "$build"
WINE_TEST_NAME=delay_bench bash "$here/scripts/wine-run.sh" "$build" "$build/bench/delay/delay_bench.exe"
