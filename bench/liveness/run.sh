#!/usr/bin/env bash
# The liveness benchmark: bench/liveness/run.sh [BUILD] [BASELINE_EXE] [RUNS] [FOLDERS]
# The real program of BUILD against BASELINE_EXE (default: the same program), started and
# clicked from outside in BUILD's Wine session, on the synthetic drive S: of the one-click
# benchmark (about FOLDERS folders, default 20000, the game near the end): RUNS runs of each
# program (default 5), ABBA, each the one-click and the quick way, with a watcher that sends
# WM_NULL to the window every 20 ms and times the answers (see liveness_bench.cpp). Between
# runs this script empties the game folder and syncs the disks when the driver asks for it.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
current="$build/installer/QXInstaller.exe"
baseline=$(realpath "${2:-$current}")
runs=${3:-5}
folders=${4:-20000}
payload=$(sed -n 's/^PAYLOAD_DIR:PATH=//p' "$build/CMakeCache.txt")
[ -f "$baseline" ] || { echo "no program at $baseline" >&2; exit 1; }

bash "$here/scripts/wine-session.sh" start "$build"
source "$here/scripts/wine-env.sh" "$build"
programs=$(mktemp -d)
mkdir "$programs/current" "$programs/baseline"
cp "$current" "$programs/current/QXInstaller.exe"
cp "$baseline" "$programs/baseline/QXInstaller.exe"
chmod -R a+rX "$programs"
stage="$WINEPREFIX/drive_c/tests/liveness_bench"

# The driver's requests between runs: the game folder emptied, everything written to disk.
serve_requests() {
  while :; do
    if [ -e "$stage/sync.request" ]; then
      game=$(cat "$stage/game.host")
      rm -rf "$game/Translations" "$game/Extras" "$game/Localization" "$game/Maps" "$game/Bundles" "$game"/*.zip
      sync
      rm -f "$stage/sync.request"
    fi
    sleep 0.05
  done
}
serve_requests &
server=$!
trap 'kill "$server" 2>/dev/null || true; rm -rf "$programs"' EXIT

status=0
WINE_TEST_NAME=liveness_bench WINE_TEST_DRIVES=s WINE_TEST_FILES="$programs/current|$programs/baseline" \
  WINE_TEST_PREPARE="python3|$here/bench/oneclick/prepare.py|$folders|$payload/Bundles.zip" \
  bash "$here/scripts/wine-run.sh" "$build" "$build/bench/liveness/liveness_bench.exe" "$runs" "$current" "$baseline" ||
  status=$?
bash "$here/scripts/wine-session.sh" stop "$build"
exit $status
