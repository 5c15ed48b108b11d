#!/usr/bin/env bash
# Starts or stops the Wine session that the tests of a build tree run in:
#   wine-session.sh start BUILD   a prepared prefix (no z: drive), a virtual display with a
#                                 window manager, and a warmed persistent wineserver
#   wine-session.sh stop BUILD    ends the wineserver, the window manager and the display
# Every background process writes to files, never to our stdout: ctest waits for the pipes
# of a test to close, so an inherited pipe would hold the fixture open.
set -euo pipefail
action=${1:?start or stop}
build=$(cd "${2:?build folder}" && pwd)
session="$build/wine-session"
mkdir -p "$session"

alive() { [ -f "$1" ] && kill -0 "$(cat "$1")" 2>/dev/null; }

prepare_prefix() {
  local prefix="$WINEPREFIX"
  local version="2 $WINEARCH"
  if [ "$(cat "$prefix/.prepared" 2>/dev/null)" = "$version" ] &&
     [ "$(stat -c %U "$prefix")" = "$(as_wine_user id -un)" ]; then
    return 0
  fi
  rm -rf "$prefix"
  mkdir -p "$prefix"
  give_to_wine_user "$prefix"
  (unset DISPLAY; as_wine_user "$QX_WINE" wineboot -i) > "$session/wineboot.log" 2>&1 < /dev/null
  as_wine_user wineserver -w
  # z: is the whole Linux root; nothing may walk it.
  rm -f "$prefix/dosdevices/z:"
  # The user's folders (Desktop, Documents, ...) link to the Linux home: make them plain
  # folders, so that a walk of C: stays inside the prefix.
  local link
  for link in "$prefix"/drive_c/users/*/*; do
    if [ -L "$link" ]; then rm -f "$link"; mkdir -p "$link"; fi
  done
  mkdir -p "$prefix/drive_c/tests"
  echo "$version" > "$prefix/.prepared"
  give_to_wine_user "$prefix/drive_c" "$prefix/.prepared"
}

start_display() {
  if alive "$session/xvfb.pid" && [ -f "$session/display" ]; then return 0; fi
  local n
  for n in $(seq 91 199); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -ac > "$session/xvfb.log" 2>&1 < /dev/null &
  echo $! > "$session/xvfb.pid"
  for _ in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.05
  done
  echo ":$n" > "$session/display"
  # Without a window manager every message box returns about 2 s late.
  DISPLAY=":$n" setsid openbox > "$session/openbox.log" 2>&1 < /dev/null &
  echo $! > "$session/openbox.pid"
  sleep 0.3
}

source "$(dirname "$0")/wine-env.sh" "$build"

case "$action" in
  start)
    prepare_prefix
    start_display
    source "$(dirname "$0")/wine-env.sh" "$build"
    as_wine_user wineserver -p > /dev/null 2>&1 < /dev/null || true  # fails when one already runs
    as_wine_user "$QX_WINE" cmd /c ver > /dev/null 2>&1 < /dev/null || true
    ;;
  stop)
    as_wine_user wineserver -k > /dev/null 2>&1 || true
    for p in openbox xvfb; do
      if alive "$session/$p.pid"; then kill "$(cat "$session/$p.pid")" 2>/dev/null || true; fi
      rm -f "$session/$p.pid"
    done
    rm -f "$session/display"
    ;;
  *) echo "usage: wine-session.sh start|stop BUILD" >&2; exit 2 ;;
esac
