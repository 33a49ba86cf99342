#!/usr/bin/env bash
# Removes what `cmake --install build --prefix DIR` put into DIR: the program, its link in
# DIR/bin, the menu entry and the icons. The operator's files in DIR/lib/resipa stay unless
# --all is given: a profile or template changed since the install, the last receipt Resipa.rtf
# and the receipts handed to the viewer in .kwitansi/. A file is ours only while its contents
# are what the install wrote (the checksums in DIR/lib/resipa/.installed).
#
# Usage: scripts/uninstall.sh DIR [--all]
set -euo pipefail

usage() { echo "Usage: $0 DIR [--all]" >&2; exit 2; }
[ $# -ge 1 ] && [ $# -le 2 ] || usage
all=false
if [ $# -eq 2 ]; then
    [ "$2" = --all ] || usage
    all=true
fi
root=${1%/}
folder=$root/lib/resipa
manifest=$folder/.installed
if [ ! -f "$manifest" ] || [ -L "$manifest" ]; then
    echo "$root holds no installed Resipa Elektronik (no $manifest)." >&2
    exit 1
fi

# What an install writes, whatever the list says, so that no other path is ever touched.
ours=(lib/resipa/resipa lib/resipa/rspdefault.rtf lib/resipa/informasi.inf
    share/applications/resipa.desktop)
for size in 16 32 48; do ours+=("share/icons/hicolor/${size}x$size/apps/resipa.png"); done

kept=()
for file in "${ours[@]}"; do
    path=$root/$file
    [ -f "$path" ] && [ ! -L "$path" ] || continue
    # awk -v would read backslashes in the name as escapes.
    installed=$(FILE=$file awk '$2 == ENVIRON["FILE"] { print $1; exit }' "$manifest")
    if $all || [ "$(sha256sum <"$path" | cut -d' ' -f1)" = "$installed" ]; then
        rm -f -- "$path"
        echo "removed $path"
    else
        kept+=("$path")
    fi
done
if [ "$(readlink -- "$root/bin/resipa" 2>/dev/null)" = ../lib/resipa/resipa ]; then
    rm -f -- "$root/bin/resipa"
    echo "removed $root/bin/resipa"
fi
for own in Resipa.rtf .kwitansi; do
    [ -e "$folder/$own" ] || [ -L "$folder/$own" ] || continue
    if $all; then
        rm -rf -- "${folder:?}/$own"
        echo "removed $folder/$own"
    else
        kept+=("$folder/$own")
    fi
done
if [ ${#kept[@]} -gt 0 ]; then
    # The list stays, so that --all can still remove them later.
    echo "Kept, as the operator's own (remove them with --all):"
    printf '  %s\n' "${kept[@]}"
    exit 0
fi
rm -f -- "$manifest"
if rmdir -- "$folder" 2>/dev/null; then
    echo "removed $folder"
else
    echo "Kept $folder: it holds files the install did not put there."
fi
