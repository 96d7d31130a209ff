#!/bin/sh
# Checks that a test prefix keeps what its programs write inside itself: no
# user folder (Desktop, Documents, ...) is a link out of the prefix, and
# Wine's menu builder (which copies shortcuts into the home folder) is off.
# Usage: scripts/check-wine-prefix.sh PREFIX
set -u
prefix=$1
users="$prefix/drive_c/users"
if [ ! -d "$users" ]; then
    echo "check-wine-prefix: $users is missing" >&2
    exit 1
fi
status=0
checked=0
for folder in "$users"/*/*; do
    checked=$((checked + 1))
    if [ -L "$folder" ]; then
        echo "check-wine-prefix: $folder links to $(readlink "$folder")"
        status=1
    fi
done
for name in Desktop Documents; do
    found=0
    for folder in "$users"/*/"$name"; do
        [ -d "$folder" ] && [ ! -L "$folder" ] && found=1
    done
    if [ "$found" = 0 ]; then
        echo "check-wine-prefix: no plain $name folder in $users"
        status=1
    fi
done
if ! grep -q '^"winemenubuilder.exe"=""' "$prefix/user.reg" 2>/dev/null; then
    echo "check-wine-prefix: the menu builder is not switched off in $prefix/user.reg"
    status=1
fi
echo "check-wine-prefix: $checked user folders looked at"
exit $status
