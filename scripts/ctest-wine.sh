#!/bin/sh
# Runs a Windows build's tests under Wine with CTest: build/win64 under the
# 64-bit Wine, build/win32 (the shipping 32-bit product) under Debian's
# 32-bit Wine. Both prefixes are 64-bit ones, as on the 64-bit Windows that
# most users of the 32-bit product have: its programs run there as 32-bit
# programs do on such a system.
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
# Exit status 77: the 32-bit tests cannot run, because this machine does not
# execute 32-bit programs (a kernel without IA-32 emulation); it says so.
#
# Usage: scripts/ctest-wine.sh win32|win64 [ctest arguments...]
set -u

preset=${1:-}
case "$preset" in
    win32) wine=/usr/lib/wine/wine ;;
    win64) wine=/usr/lib/wine/wine64 ;;
    *) echo "usage: scripts/ctest-wine.sh win32|win64 [ctest arguments...]" >&2; exit 2 ;;
esac
shift

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/$preset"
if [ ! -f "$build/CTestTestfile.cmake" ]; then
    echo "ctest-wine: $build has no tests (cmake --preset $preset)" >&2
    exit 2
fi
if ! "$wine" --version >/dev/null 2>&1; then
    why=$("$wine" --version 2>&1 | head -n 1)
    kernel=$(dmesg 2>/dev/null | grep -i '32-bit emulation' | tail -n 1 | sed 's/^\[[^]]*\] //')
    echo "ctest-wine: the $preset tests cannot run here: $wine does not start (${why:-no answer})."
    [ -n "$kernel" ] && echo "ctest-wine: the kernel says: $kernel"
    echo "ctest-wine: this machine does not execute 32-bit programs; the $preset tests were NOT RUN."
    exit 77
fi

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$0" "$preset" "$@"
fi

WINEPREFIX="$build/wineprefix"
WINEDEBUG=-all
LC_ALL=ja_JP.SJIS
export WINEPREFIX WINEDEBUG LC_ALL

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
