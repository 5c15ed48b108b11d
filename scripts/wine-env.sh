# Sourced by the Wine scripts: the environment every Wine process of a build tree runs in.
# $1 (or $build) is the build folder.
build=${build:-$1}
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The ANSI code page follows the locale: zh_CN gives code page 936 (GBK).
export LC_ALL=zh_CN.UTF-8
if [ -f "$build/wine-session/display" ]; then
  DISPLAY=$(cat "$build/wine-session/display")
  export DISPLAY
fi

# Root ignores file permissions, so read-only files and unreadable folders would not fail
# as they do for a Windows user: Wine runs as an ordinary account when we are root.
WINE_USER=qxtest
if [ "$(id -u)" = 0 ]; then
  if ! id -u "$WINE_USER" > /dev/null 2>&1; then
    useradd --create-home --shell /usr/sbin/nologin "$WINE_USER"
  fi
  as_wine_user() { runuser -u "$WINE_USER" -- "$@"; }
  give_to_wine_user() { chown -R "$WINE_USER": "$@"; }
else
  as_wine_user() { "$@"; }
  give_to_wine_user() { :; }
fi
