#!/bin/sh
# Runs the win64 build's tests (build/win64) under Wine with CTest.
#
# Wine's helper processes keep CTest's output pipe open unless a wineserver
# is already running, which costs about 3 s per test; and a wineserver that
# a test starts itself can hang CTest. So: boot the prefix if needed, start
# a persistent wineserver and one trivial program with their standard
# streams on /dev/null, run CTest, then stop the server again.
#
# Usage: scripts/ctest-win64.sh [ctest arguments...]
set -u

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

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "ctest-win64: creating the Wine prefix $WINEPREFIX"
    # Without Mono and Gecko: nothing here needs them, and they would be
    # offered for download.
    WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot --init </dev/null >/dev/null 2>&1
    "$wineserver" -w </dev/null >/dev/null 2>&1
fi

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
