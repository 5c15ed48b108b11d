#!/usr/bin/env bash
# The one-click benchmark: bench/oneclick/run.sh [BUILD] [BASELINE_EXE] [ROUNDS] [LAYOUT]
# The real program of BUILD against BASELINE_EXE (default: the same program), started and
# clicked from outside in BUILD's Wine session, ROUNDS rounds (default 3), ABBA.
# LAYOUT is a number of folders (default 20000): one synthetic drive S: of that many folders
# with the game near the end, the one-click and the quick way beside the bare listing walk
# and the replay of Bundles.zip as floors. Or "machine" (machine:SYSTEM,GAMES to set the two
# folder counts): a system drive of about 60,000 folders (the prefix's C:) and a games drive
# S: of about 20,000 after it, one-click with the game half way through the games drive, half
# way through the system drive, and nowhere (see oneclick_bench.cpp and prepare.py). Between
# runs the game folder is emptied and the disks synced (bench/common/against_baseline.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
status=0
bash "$here/bench/common/against_baseline.sh" oneclick_bench "$build/bench/oneclick/oneclick_bench.exe" \
  "${3:-3}" "$build" "${2:-$build/installer/QXInstaller.exe}" "${4:-20000}" || status=$?
# The system drive's tree lies in the prefix's C:, which every later walk of the drives would
# cover: it goes with the run.
source "$here/scripts/wine-env.sh" "$build"
rm -rf "$WINEPREFIX/drive_c/tests/oneclick_bench/system"
exit $status
