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
