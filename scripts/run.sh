#!/usr/bin/env bash
# Installs what is missing, builds, and starts the installer under Wine. Without $DISPLAY it
# runs in a virtual display and writes screenshots to BUILD/run/screenshot.png. Where this
# machine runs no 32-bit Windows code (or with QX_FORCE_64=1) it starts the 64-bit twin from
# build-x64/ instead (scripts/machine.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/machine.sh"
build_for_path "$here" starting
build=$QX_BUILD

exe="$build/installer/QXInstaller.exe"
[ -f "$exe" ] || { echo "run.sh: the installer was not built ($exe)" >&2; exit 1; }

own_display=${DISPLAY:-}
bash "$here/scripts/wine-session.sh" start "$build"
source "$here/scripts/wine-env.sh" "$build"
if [ -n "$own_display" ]; then export DISPLAY=$own_display; fi

# The prefix has no z: drive: the program runs from C:\installer\ like an installed copy.
stage="$WINEPREFIX/drive_c/installer"
mkdir -p "$stage"
cp "$exe" "$stage/"
give_to_wine_user "$stage"
cd "$stage"
name=$(basename "$exe")

mkdir -p "$build/run"
if [ -z "$own_display" ]; then
  echo "Starting $name in the virtual display $DISPLAY."
  as_wine_user "$QX_WINE" "C:\\installer\\$name" > "$build/run/wine.log" 2>&1 < /dev/null &
  pid=$!
  sleep 4
  import -display "$DISPLAY" -window root "$build/run/screenshot.png" 2>/dev/null || true
  echo "Screenshot: $build/run/screenshot.png (taken again every 5 s while it runs)."
  echo "To interact: DISPLAY=$DISPLAY xdotool search --name 'QX' ... ; stop with Ctrl-C."
  while kill -0 "$pid" 2>/dev/null; do
    sleep 5
    import -display "$DISPLAY" -window root "$build/run/screenshot.png" 2>/dev/null || true
  done
  wait "$pid" || true
else
  as_wine_user "$QX_WINE" "C:\\installer\\$name"
fi
