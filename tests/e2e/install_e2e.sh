#!/usr/bin/env bash
# Installs what ./run.sh builds into a temporary ~/.local-like prefix, checks the layout and the
# menu entry, starts the program as a desktop would from its entry (PATH without the prefix's
# bin) and from a copy of its folder elsewhere, then uninstalls it, which must keep the
# operator's own files until asked to remove them too.
#
# Usage: install_e2e.sh BUILD_DIR SOURCE_DIR
set -euo pipefail

failures=0
fail() { printf 'install: FAIL: %s\n' "$*" >&2; failures=$((failures + 1)); }

[ $# -eq 2 ] || { fail "usage: $0 BUILD_DIR SOURCE_DIR"; exit 1; }
build=$1
data=$2/data
uninstall=$2/scripts/uninstall.sh

work=$(mktemp -d "${TMPDIR:-/tmp}/resipa-install.XXXXXX")
work=$(cd "$work" && pwd -P)
finish() {
    # Only copies of the program this script installed: their executable lies in its folder.
    for proc in /proc/[0-9]*; do
        case "$(readlink "$proc/exe" 2>/dev/null)" in
        "$work"/*) kill -KILL "${proc#/proc/}" 2>/dev/null || true ;;
        esac
    done
    rm -rf "$work"
}
trap finish EXIT

# Only the program's target, as ./run.sh builds it, with the icons drawn afresh.
rm -rf "$build/app/icons"
cmake --build "$build" --target resipa >"$work/build.log" 2>&1 || { cat "$work/build.log"; exit 1; }
prefix="$work/home/my .local"
folder=$prefix/lib/resipa
install() {
    cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
        { cat "$work/install.log"; fail "cmake --install failed"; exit 1; }
}
install

# The program with its template and profile in one folder, linked from bin/; the menu entry
# naming the program by its absolute path; the icons.
[ -x "$folder/resipa" ] && [ "$(readlink "$prefix/bin/resipa")" = ../lib/resipa/resipa ] ||
    fail "no lib/resipa/resipa linked from bin/resipa"
cmp -s "$data/rspdefault.rtf" "$folder/rspdefault.rtf" || fail "lib/resipa/rspdefault.rtf is not the template"
cmp -s "$data/informasi.inf" "$folder/informasi.inf" || fail "lib/resipa/informasi.inf is not the sample profile"
entry=$prefix/share/applications/resipa.desktop
for line in '\[Desktop Entry\]' 'Type=Application' 'Name=Resipa Elektronik' 'Comment=.*kwitansi.*' \
    "Exec=\"$folder/resipa\"" "TryExec=$folder/resipa" 'Icon=resipa' 'Categories=Office;'; do
    grep -qxF -- "$line" "$entry" 2>/dev/null || grep -qx -- "$line" "$entry" ||
        fail "resipa.desktop lacks a line '$line'"
done
icons=()
for size in 16 32 48; do
    icons+=("$prefix/share/icons/hicolor/${size}x${size}/apps/resipa.png")
    # A PNG's signature, then its header's width and height as four-byte numbers.
    header=$(od -An -tx1 -N24 "${icons[-1]}" 2>/dev/null | tr -d ' \n')
    want=$(printf '89504e470d0a1a0a0000000d49484452%08x%08x' "$size" "$size")
    [ "$header" = "$want" ] || fail "no ${size}x${size} PNG icon in the hicolor theme"
done

# A reinstall replaces the program and the template but keeps the operator's own profile.
printf 'Kota,Milik Operator\r\n' >"$folder/informasi.inf"
install
grep -q 'Milik Operator' "$folder/informasi.inf" || fail "a reinstall overwrote the operator's profile"

# Started by the entry's Exec line, as a launcher runs it, with a PATH that lacks bin/, and as a
# copy of the folder elsewhere, with the original gone; each from yet another folder.
starts() {
    local what=$1 pid
    shift
    (cd "$work" && exec env PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen "$@") >"$work/run.log" 2>&1 &
    pid=$!
    sleep 1.5
    kill -TERM "$pid" 2>/dev/null || fail "$what ended within a second: $(head -c 500 "$work/run.log")"
    wait "$pid" 2>/dev/null || true
}
starts "the menu entry's program" sh -c "exec $(sed -n 's/^Exec=//p' "$entry")"
mkdir "$work/elsewhere"
cp -a "$folder" "$work/elsewhere/"
mv "$folder" "$work/moved"
starts "the copied folder's program" "$work/elsewhere/resipa/resipa"
mv "$work/moved" "$folder"

# The uninstall removes what the install put there and keeps the operator's files until --all.
printf 'own template\r\n' >"$folder/rspdefault.rtf"
mkdir "$folder/.kwitansi"
touch "$folder/Resipa.rtf" "$folder/.kwitansi/Kwitansi A 10.00.00.rtf" "$prefix/share/applications/other.desktop"
operators=("$folder/informasi.inf" "$folder/rspdefault.rtf" "$folder/Resipa.rtf" "$folder/.kwitansi/Kwitansi A 10.00.00.rtf")
bash "$uninstall" "$prefix" >"$work/uninstall.log" || fail "the uninstall failed: $(cat "$work/uninstall.log")"
for path in "$folder/resipa" "$prefix/bin/resipa" "$entry" "${icons[@]}"; do
    [ ! -e "$path" ] && [ ! -L "$path" ] || fail "the uninstall left ${path#"$prefix"/}"
done
for path in "${operators[@]}"; do [ -f "$path" ] || fail "the uninstall removed ${path#"$prefix"/}"; done
bash "$uninstall" "$prefix" --all >"$work/uninstall.log" || fail "the uninstall --all failed"
[ ! -e "$folder" ] && [ -f "$prefix/share/applications/other.desktop" ] ||
    fail "the uninstall --all left lib/resipa or removed what is not its own"

[ "$failures" -eq 0 ] || exit 1
echo "install: passed: the run.sh build installs, starts from its entry and from a copy, and uninstalls"
