#!/bin/sh
# Runs the win64 build's tests (build/win64) under Wine with CTest.
#
# Wine's helper processes keep CTest's output pipe open unless a wineserver
# is already running, which costs about 3 s per test; and a wineserver that
# a test starts itself can hang CTest. So: boot the prefix if needed, start
# a persistent wineserver and one trivial program with their standard
# streams on /dev/null, run CTest, then stop the server again.
#
# Windows get a display of their own: without DISPLAY the script runs itself
# again under xvfb-run, on a virtual screen of 1280 x 1024 at 24 bits.
#
# Usage: scripts/ctest-win64.sh [ctest arguments...]
set -u

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$0" "$@"
fi

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/win64"
if [ ! -f "$build/CTestTestfile.cmake" ]; then
    echo "ctest-win64: $build is not configured (cmake --preset win64)" >&2
    exit 2
fi

WINEPREFIX="$build/wineprefix"
WINEDEBUG=-all
LC_ALL=ja_JP.SJIS
export WINEPREFIX WINEDEBUG LC_ALL

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

"$root/scripts/prepare-wine-prefix.sh" --virtual-screen "$WINEPREFIX" || exit 1

stop_server() {
    "$wineserver" -k </dev/null >/dev/null 2>&1
}
trap 'stop_server; exit 130' INT TERM

"$wineserver" -p30 </dev/null >/dev/null 2>&1
"$wine" cmd.exe /c exit </dev/null >/dev/null 2>&1

ctest --test-dir "$build" --output-on-failure "$@"
status=$?

stop_server
trap - INT TERM
exit $status
