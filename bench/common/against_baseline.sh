#!/usr/bin/env bash
# Runs a driver that clicks the real program from outside, against a baseline build, in
# BUILD's Wine session on the synthetic drive S: of bench/oneclick/prepare.py (shared by the
# one-click and the liveness benchmarks):
#   against_baseline.sh NAME DRIVER_EXE COUNT BUILD BASELINE_EXE FOLDERS
# The driver gets COUNT and the two programs' host paths as its arguments, and finds the
# programs beside it as current\ and baseline\QXInstaller.exe. Between runs this script
# empties the game folder and syncs the disks when the driver asks for it (sync.request).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
name=$1 driver=$2 count=$3
build=$(cd "$4" && pwd)
current="$build/installer/QXInstaller.exe"
baseline=$(realpath "$5")
folders=$6
payload=$(sed -n 's/^PAYLOAD_DIR:PATH=//p' "$build/CMakeCache.txt")
[ -f "$baseline" ] || { echo "no program at $baseline" >&2; exit 1; }

bash "$here/scripts/wine-session.sh" start "$build"
source "$here/scripts/wine-env.sh" "$build"
programs=$(mktemp -d)
mkdir "$programs/current" "$programs/baseline"
cp "$current" "$programs/current/QXInstaller.exe"
cp "$baseline" "$programs/baseline/QXInstaller.exe"
chmod -R a+rX "$programs"
stage="$WINEPREFIX/drive_c/tests/$name"

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
WINE_TEST_NAME=$name WINE_TEST_DRIVES=s WINE_TEST_FILES="$programs/current|$programs/baseline" \
  WINE_TEST_PREPARE="python3|$here/bench/oneclick/prepare.py|$folders|$payload/Bundles.zip" \
  bash "$here/scripts/wine-run.sh" "$build" "$driver" "$count" "$current" "$baseline" ||
  status=$?
bash "$here/scripts/wine-session.sh" stop "$build"
exit $status
