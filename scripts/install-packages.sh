#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, for both kinds of machine:
# the 32-bit toolchain and Wine that the shipped program needs, and the 64-bit ones that the
# twin needs where the kernel runs no 32-bit code. Idempotent: a second run finds everything
# present and does nothing but check. The system's apt sources are never edited.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/apt-retry.sh"

packages=(
  cmake make nasm dpkg-dev python3
  gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  libz-mingw-w64-dev googletest
  wine wine32 wine64
  xvfb openbox xdotool imagemagick x11-utils
  locales fonts-wqy-microhei fonts-wqy-zenhei
  zip unzip p7zip-full libarchive-tools
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  missing+=(wine32)
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt_update_with_retries
  apt_install_or_release_suite --no-install-recommends "${missing[@]}"
fi

# Wine takes its ANSI code page from the locale: zh_CN.UTF-8 gives 936 (GBK file names need
# it), ja_JP.UTF-8 gives 932; the end-to-end tests run under both (and C.UTF-8, 1252).
for wanted in zh_CN ja_JP; do
  if ! locale -a 2>/dev/null | grep -qi "^$wanted\.utf-\?8\$"; then
    sed -i "s/^# *\($wanted.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$wanted.UTF-8 UTF-8" /etc/locale.gen || echo "$wanted.UTF-8 UTF-8" >> /etc/locale.gen
    generate=1
  fi
done
if [ -n "${generate:-}" ]; then locale-gen; fi
