# Sourced by test.sh, run.sh and build.sh: which of the two paths this machine takes.
#   32-bit path: the kernel runs 32-bit code; the shipped PE32 program and its tests are
#                built in build/ and run under 32-bit Wine.
#   64-bit path: the kernel refuses 32-bit code (wine32 cannot start, and no 32-bit Windows
#                code runs under WoW64 either); a 64-bit twin of the program and of every
#                test program is built in build-x64/ and runs under 64-bit Wine.
# QX_FORCE_64=1 takes the 64-bit path on any machine, so that both can be run where both work.
# choose_path defines QX_TARGET_BITS (32 or 64; exported, so that the scripts it starts agree)
# and, for that path, QX_DEFAULT_BUILD and QX_TOOLCHAIN.

# Whether this machine can run 32-bit Windows programs: whether the 32-bit Wine loader starts.
# On a fresh machine the loader is not there yet, and "not installed" is not "cannot run": the
# packages are installed first. Only the kernel's refusal ("Exec format error", exit 126) means
# no 32-bit code runs here; any other failure of the loader stops the run with its own words.
runs_32bit_windows_code() {
  local root=$1 out status=0
  [ -e /usr/lib/wine/wine ] || bash "$root/scripts/install-packages.sh" >&2
  out=$(/usr/lib/wine/wine --version 2>&1 < /dev/null) || status=$?
  if [ "$status" = 0 ]; then
    return 0
  elif [ "$status" = 126 ] || grep -q 'Exec format error' <<< "$out"; then
    return 1
  fi
  echo "the 32-bit Wine loader fails, and not for want of 32-bit support (exit $status): $out" >&2
  exit 1
}

# choose_path ROOT: decides once and sets the variables above.
choose_path() {
  local root=$1
  if [ -n "${QX_TARGET_BITS:-}" ]; then
    :
  elif [ "${QX_FORCE_64:-0}" = 1 ]; then
    QX_TARGET_BITS=64
    QX_BITS_REASON="QX_FORCE_64=1"
  elif runs_32bit_windows_code "$root"; then
    QX_TARGET_BITS=32
  else
    QX_TARGET_BITS=64
    QX_BITS_REASON="this machine runs no 32-bit Windows code (the kernel refuses the 32-bit Wine loader: Exec format error)"
  fi
  export QX_TARGET_BITS
  if [ "$QX_TARGET_BITS" = 64 ]; then
    QX_DEFAULT_BUILD="$root/build-x64"
    QX_TOOLCHAIN="$root/cmake/toolchain-x86_64-w64-mingw32.cmake"
  else
    QX_DEFAULT_BUILD="$root/build"
    QX_TOOLCHAIN="$root/cmake/toolchain-i686-w64-mingw32.cmake"
  fi
}

# The one line that says the 64-bit path is taken, and why.
say_path() {
  if [ "$QX_TARGET_BITS" = 64 ]; then
    echo "64-bit path: ${QX_BITS_REASON:-chosen by the caller}; $1 the 64-bit twin (x86_64, build-x64/) under 64-bit Wine."
  fi
}

# build_for_path ROOT VERB: chooses the path, says so ("64-bit path: ...; VERB the 64-bit
# twin"), and builds that path's tree in BUILD_DIR or its default folder, which QX_BUILD names.
build_for_path() {
  local root=$1
  choose_path "$root"
  say_path "$2"
  QX_BUILD=${BUILD_DIR:-$QX_DEFAULT_BUILD}
  if [ "$QX_TARGET_BITS" = 64 ]; then
    BUILD_DIR=$QX_BUILD bash "$root/scripts/build.sh" --twin
  else
    BUILD_DIR=$QX_BUILD bash "$root/scripts/build.sh"
  fi
}
