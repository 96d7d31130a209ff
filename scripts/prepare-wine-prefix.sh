#!/bin/sh
# Makes a Wine prefix ready for the product's programs: booted without Mono
# and Gecko, and with the Japanese IPA fonts standing in for the fonts that
# the windows ask for ("MS UI Gothic", "ＭＳ Ｐゴシック", "MS Shell Dlg").
# With --virtual-screen, Wine frames the windows itself: a virtual screen has
# no window manager, and Wine would wait two seconds for one whenever a
# window closes.
# The user's folders (Desktop, Documents, ...), which Wine makes as links into
# the home folder, become plain folders of the prefix, and Wine's menu
# builder, which copies every shortcut and icon made in the prefix into the
# home folder's menus, is switched off: nothing the programs write leaves the
# prefix.
#
# Usage: scripts/prepare-wine-prefix.sh [--virtual-screen] PREFIX
# Idempotent: markers in the prefix record what has been done.
set -eu

virtual=0
if [ "${1:-}" = "--virtual-screen" ]; then
    virtual=1
    shift
fi
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
    WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" "$wine" wineboot --init </dev/null >/dev/null 2>&1
    "$wineserver" -w </dev/null >/dev/null 2>&1
fi

# Checked at every run: Wine makes an empty one a link again when it updates
# a prefix.
for link in "$prefix"/drive_c/users/*/*; do
    if [ -L "$link" ]; then
        rm -f "$link"
        mkdir -p "$link"
    fi
done

# The caption buttons are drawn with Wine's own symbol font, which this
# Wine does not find by itself: it is put into the prefix's font folder.
fonts="$prefix/drive_c/windows/Fonts"
if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
fi

# regedit reads UTF-16 files with this header; the value names are Japanese.
import_registry() {
    local reg
    reg=$(mktemp --suffix=.reg)
    { printf '%s\r\n' 'Windows Registry Editor Version 5.00' ''; printf '%s\r\n' "$@"; } |
        { printf '\377\376'; iconv -f UTF-8 -t UTF-16LE; } >"$reg"
    "$wine" regedit /S "$(printf 'Z:%s' "$reg" | tr / '\\')" </dev/null >/dev/null 2>&1
    "$wineserver" -w </dev/null >/dev/null 2>&1
    rm -f "$reg"
}

if [ ! -f "$prefix/.quillbox-fonts-2" ]; then
    import_registry \
        '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
        '"MS UI Gothic"="IPAPGothic"' \
        '"ＭＳ Ｐゴシック"="IPAPGothic"' \
        '"ＭＳ ゴシック"="IPAGothic"' \
        '"MS Shell Dlg"="IPAPGothic"' \
        '"MS Shell Dlg 2"="IPAPGothic"' ''
    touch "$prefix/.quillbox-fonts-2"
fi

if [ ! -f "$prefix/.quillbox-no-menus-1" ]; then
    import_registry '[HKEY_CURRENT_USER\Software\Wine\DllOverrides]' '"winemenubuilder.exe"=""' ''
    touch "$prefix/.quillbox-no-menus-1"
fi

if [ "$virtual" = 1 ] && [ ! -f "$prefix/.quillbox-virtual-screen-1" ]; then
    import_registry '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' ''
    touch "$prefix/.quillbox-virtual-screen-1"
fi
