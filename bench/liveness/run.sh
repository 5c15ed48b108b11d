#!/usr/bin/env bash
# The liveness benchmark: bench/liveness/run.sh [BUILD] [BASELINE_EXE] [RUNS] [FOLDERS]
# The real program of BUILD against BASELINE_EXE (default: the same program), started and
# clicked from outside in BUILD's Wine session, on the synthetic drive S: of the one-click
# benchmark (about FOLDERS folders, default 20000, the game near the end): RUNS runs of each
# program (default 5), ABBA, each the one-click and the quick way, with a watcher that sends
# WM_NULL to the window every 20 ms and times the answers (see liveness_bench.cpp). Between
# runs the game folder is emptied and the disks synced (bench/common/against_baseline.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
exec bash "$here/bench/common/against_baseline.sh" liveness_bench "$build/bench/liveness/liveness_bench.exe" \
  "${3:-5}" "$build" "${2:-$build/installer/QXInstaller.exe}" "${4:-20000}"
