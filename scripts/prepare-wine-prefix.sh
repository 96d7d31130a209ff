#!/bin/sh
# Makes a Wine prefix ready for the product's programs: booted without Mono
# and Gecko, with the Japanese IPA fonts standing in for the fonts that the
# windows ask for ("MS UI Gothic", "ＭＳ Ｐゴシック", "MS Shell Dlg"), and
# with windows that Wine frames itself: a virtual screen has no window
# manager, and Wine would wait two seconds for one whenever a window closes.
#
# Usage: scripts/prepare-wine-prefix.sh PREFIX
# Idempotent: a marker in the prefix records what has been done.
set -eu

mkdir -p "$1"
prefix=$(cd "$1" && pwd)
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
WINEPREFIX=$prefix
WINEDEBUG=-all
LC_ALL=ja_JP.SJIS
export WINEPREFIX WINEDEBUG LC_ALL

if [ ! -f "$prefix/system.reg" ]; then
    echo "prepare-wine-prefix: creating the Wine prefix $prefix"
    # Nothing here needs Mono or Gecko, and they would be offered for download.
    WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot --init </dev/null >/dev/null 2>&1
    "$wineserver" -w </dev/null >/dev/null 2>&1
fi

marker="$prefix/.quillbox-settings-2"
if [ ! -f "$marker" ]; then
    # regedit reads UTF-16 files with this header; the value names are Japanese.
    reg=$(mktemp --suffix=.reg)
    printf '%s\r\n' \
        'Windows Registry Editor Version 5.00' '' \
        '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
        '"MS UI Gothic"="IPAPGothic"' \
        '"ＭＳ Ｐゴシック"="IPAPGothic"' \
        '"ＭＳ ゴシック"="IPAGothic"' \
        '"MS Shell Dlg"="IPAPGothic"' \
        '"MS Shell Dlg 2"="IPAPGothic"' '' \
        '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' \
        '"Managed"="N"' '' |
        { printf '\377\376'; iconv -f UTF-8 -t UTF-16LE; } >"$reg"
    "$wine" regedit /S "$(printf 'Z:%s' "$reg" | tr / '\\')" </dev/null >/dev/null 2>&1
    "$wineserver" -w </dev/null >/dev/null 2>&1
    rm -f "$reg"
    touch "$marker"
fi
