#!/bin/sh
# Runs a Windows test program of this build with the test prefix's screen
# resolution set to DPI dots per inch, and sets it back afterwards.
#   at-dpi.sh WINE-RUN DPI PROGRAM [ARGUMENTS...]
set -u
wine_run=$1
dpi=$2
shift 2
key='HKCU\Control Panel\Desktop'
restore() { "$wine_run" reg delete "$key" /v LogPixels /f >/dev/null 2>&1; }
trap 'restore; exit 130' INT TERM
"$wine_run" reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || exit 1
"$wine_run" "$@"
status=$?
restore
exit $status
