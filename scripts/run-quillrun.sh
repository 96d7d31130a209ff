#!/usr/bin/env bash
# Starts the desktop program Quillrun.exe under Wine on your display,
# building it first if needed.
#
#   scripts/run-quillrun.sh
#
# It runs the 64-bit build (build/win64/bin: Quillrun.exe, Corvex.dll and
# quillrun.chm side by side) in a Wine prefix of its own (build/quillrun-prefix),
# with the Japanese code page and locale and Japanese fonts standing in for
# the Windows ones. Your files are under drive Z: (Z:\home\you\...).
set -u

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
say() { printf '%s\n' "$*" >&2; }

if [ -z "${DISPLAY:-}" ]; then
  say "run-quillrun: no display (DISPLAY is not set); start it from a desktop session,"
  say "or try it on a virtual screen: xvfb-run -a scripts/run-quillrun.sh"
  exit 2
fi

needed="cmake x86_64-w64-mingw32-g++ /usr/lib/wine/wine64 chmcmd"
for tool in $needed; do
  if ! command -v "$tool" >/dev/null 2>&1 || ! fc-list 2>/dev/null | grep -qi ipagothic; then
    say "run-quillrun: installing the toolchain, Wine and the fonts (scripts/install-deps.sh)..."
    bash "$top/scripts/install-deps.sh" || { say "run-quillrun: installing failed"; exit 1; }
    break
  fi
done

mkdir -p "$top/build"
log="$top/build/run-quillrun.log"
: >"$log"
if [ ! -f "$top/build/win64/CMakeCache.txt" ]; then
  say "run-quillrun: building Quillrun.exe (win64)..."
  (cd "$top" && cmake --preset win64) >>"$log" 2>&1 || { cat "$log" >&2; say "run-quillrun: configuring failed (log: $log)"; exit 1; }
fi
cmake --build "$top/build/win64" -j2 --target Quillrun >>"$log" 2>&1 ||
  { cat "$log" >&2; say "run-quillrun: the build failed (log: $log)"; exit 1; }

prefix="$top/build/quillrun-prefix"
"$top/scripts/prepare-wine-prefix.sh" "$prefix" || { say "run-quillrun: preparing the Wine prefix failed"; exit 1; }

WINEPREFIX=$prefix WINEDEBUG=-all LC_ALL=ja_JP.SJIS exec /usr/lib/wine/wine64 \
  "$top/build/win64/bin/Quillrun.exe" "$@"
