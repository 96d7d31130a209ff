#!/bin/bash
# Installs what the build and the tests need on a Debian machine. Idempotent,
# and quiet when everything is already there.
set -euo pipefail

packages=(
  cmake make g++ clang libclang-rt-14-dev libgtest-dev python3 git time
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine64 wine wine32:i386 xvfb xauth locales
  fonts-ipafont-gothic fp-utils libchm-bin groff-base man-db dpkg-dev
)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# The shipping build is 32-bit: Debian's 32-bit Wine (wine32:i386) runs it
# where the kernel executes 32-bit programs, beside the 64-bit one.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# Wine takes its ANSI code page and locale from the Unix locale: Shift-JIS
# gives the Japanese system (932, 1041), en_US.UTF-8 an English one (1252,
# 1033) on which the installer's pages are tested as well.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.sjis$' ||
   ! locale -a 2>/dev/null | grep -qi '^en_US\.utf-\?8$'; then
  for entry in 'ja_JP.SJIS SHIFT_JIS' 'ja_JP.UTF-8 UTF-8' 'en_US.UTF-8 UTF-8'; do
    grep -q "^$entry" /etc/locale.gen 2>/dev/null ||
      echo "$entry" | $sudo tee -a /etc/locale.gen >/dev/null
  done
  $sudo locale-gen >/dev/null 2>&1
fi
