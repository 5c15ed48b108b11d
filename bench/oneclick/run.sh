#!/usr/bin/env bash
# The one-click benchmark: bench/oneclick/run.sh [BUILD] [BASELINE_EXE] [ROUNDS] [FOLDERS]
# The real program of BUILD against BASELINE_EXE (default: the same program), started and
# clicked from outside in BUILD's Wine session, on a synthetic drive S: of about FOLDERS
# folders (default 20000) with the game near the end: ROUNDS rounds (default 3) of the
# one-click and the quick way, ABBA, beside the bare listing walk and the replay of
# Bundles.zip as floors (see oneclick_bench.cpp). Between runs the game folder is emptied
# and the disks synced (bench/common/against_baseline.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
exec bash "$here/bench/common/against_baseline.sh" oneclick_bench "$build/bench/oneclick/oneclick_bench.exe" \
  "${3:-3}" "$build" "${2:-$build/installer/QXInstaller.exe}" "${4:-20000}"
