# Sourced by the Wine scripts: the environment every Wine process of a build tree runs in.
# $1 (or $build) is the build folder. Defines WINEPREFIX, WINEARCH, WINE_TEST_DRIVES_ROOT
# (where the mapped test drives live), DISPLAY (when the session runs), QX_WINE (the Wine
# loader to start programs with), as_wine_user and give_to_wine_user.
build=${build:-$1}

# The tree's word size (written at configure time, cmake/WineTests.cmake) picks the Wine:
# a 64-bit twin runs in a win64 prefix under the 64-bit loader, called directly, because
# /usr/bin/wine picks the 32-bit loader whenever that file is executable, even where the
# kernel cannot run it. The wineserver script picks wineserver64 on both paths.
if [ "$(cat "$build/wine-arch" 2>/dev/null)" = win64 ]; then
  export WINEARCH=win64
  export WINELOADER=/usr/lib/wine/wine64
  QX_WINE=$WINELOADER
else
  export WINEARCH=win32
  QX_WINE=wine
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The ANSI code page of each Wine process follows its locale: zh_CN gives code page 936 (GBK),
# the default; a test may ask for another (WINE_TEST_LOCALE: C.UTF-8 gives 1252, ja_JP 932).
export LC_ALL=${WINE_TEST_LOCALE:-zh_CN.UTF-8}
if [ -f "$build/wine-session/display" ]; then
  DISPLAY=$(cat "$build/wine-session/display")
  export DISPLAY
fi

# Root ignores file permissions, so read-only files and unreadable folders would not fail
# as they do for a Windows user: Wine runs as an ordinary account when we are root. That
# account may not be able to reach the build tree (a clone below /root, a private temporary
# folder), so its prefix and test drives then live in an area of their own, one per build
# tree, and the build tree links to the prefix.
WINE_USER=qxtest
if [ "$(id -u)" = 0 ]; then
  if ! id -u "$WINE_USER" > /dev/null 2>&1; then
    useradd --create-home --shell /usr/sbin/nologin "$WINE_USER"
  fi
  as_wine_user() { runuser -u "$WINE_USER" -- "$@"; }
  give_to_wine_user() { chown -R "$WINE_USER": "$@"; }
  wine_area="/var/tmp/qx-wine/$(printf '%s' "$build" | md5sum | cut -c1-16)"
  if [ ! -d "$wine_area" ]; then
    mkdir -p "$wine_area"
    give_to_wine_user "$wine_area"
  fi
  if [ "$(readlink "$build/wineprefix" 2>/dev/null)" != "$wine_area/wineprefix" ]; then
    rm -rf "$build/wineprefix"
    ln -s "$wine_area/wineprefix" "$build/wineprefix"
  fi
else
  as_wine_user() { "$@"; }
  give_to_wine_user() { :; }
  wine_area="$build"
fi
export WINEPREFIX="$wine_area/wineprefix"
export WINE_TEST_DRIVES_ROOT="$wine_area/test-drives"
