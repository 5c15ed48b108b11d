#!/usr/bin/env bash
# Opens the main window in the virtual display of a build tree's Wine session and saves a
# screenshot of it as PNG:
#   ui/tools/screenshot.sh [BUILD [OUT.png [PROGRAM.exe]]]
# BUILD defaults to build/, OUT to BUILD/screenshot.png, PROGRAM to the installer of BUILD.
# The window is closed again afterwards (Alt+F4, as a user would).
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$repo/build}" && pwd)
out=${2:-$build/screenshot.png}
program=${3:-$build/installer/QXInstaller.exe}
[ -f "$program" ] || { echo "no program at $program (build it first)" >&2; exit 1; }

bash "$repo/scripts/wine-session.sh" start "$build"
source "$repo/scripts/wine-env.sh" "$build"

log="$build/wine-session/screenshot-run.log"
WINE_TEST_NAME=screenshot bash "$repo/scripts/wine-run.sh" "$build" "$program" > "$log" 2>&1 < /dev/null &
runner=$!

window=""
for _ in $(seq 1 200); do
  window=$(xdotool search --onlyvisible --name 'QX一键汉化' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  if ! kill -0 "$runner" 2>/dev/null; then echo "the program ended early; see $log" >&2; exit 1; fi
  sleep 0.1
done
[ -n "$window" ] || { echo "no window appeared; see $log" >&2; kill "$runner" 2>/dev/null || true; exit 1; }
sleep 1.5  # the first paint and a few banner steps

# With -frame the window manager's decorations (title bar, borders) are included.
import -window "$window" -frame "$out"
echo "saved $out"

xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4 2>/dev/null || true
for _ in $(seq 1 50); do
  kill -0 "$runner" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$runner" 2>/dev/null; then
  for child in $(pgrep -P "$runner" || true); do kill "$child" 2>/dev/null || true; done
  kill "$runner" 2>/dev/null || true
fi
wait "$runner" 2>/dev/null || true
