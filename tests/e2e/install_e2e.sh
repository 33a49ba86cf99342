#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks the folder's layout, copies it somewhere
# else, removes the original and starts the copy there: an installed folder must work wherever
# it is copied, since the program looks for its files beside its executable.
#
# Usage: install_e2e.sh BUILD_DIR DATA_DIR (the built tree; the template and sample profile)
set -euo pipefail

note() { printf 'install: %s\n' "$*"; }
failures=0
fail() { printf 'install: FAIL: %s\n' "$*" >&2; failures=$((failures + 1)); }

[ $# -eq 2 ] || { fail "usage: $0 BUILD_DIR DATA_DIR"; exit 1; }
build=$1
data=$2

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

prefix=$work/prefix
copy=$work/elsewhere/Resipa
cmake --install "$build" --prefix "$prefix" >"$work/install.log" ||
    { cat "$work/install.log"; fail "cmake --install failed"; exit 1; }

# The layout: the program with its template and profile beside it, the menu entry, the icons.
[ -x "$prefix/bin/resipa" ] || fail "no executable bin/resipa"
cmp -s "$data/rspdefault.rtf" "$prefix/bin/rspdefault.rtf" || fail "bin/rspdefault.rtf is not the template"
cmp -s "$data/informasi.inf" "$prefix/bin/informasi.inf" || fail "bin/informasi.inf is not the sample profile"
desktop=$prefix/share/applications/resipa.desktop
for line in '\[Desktop Entry\]' 'Type=Application' 'Name=Resipa Elektronik' 'Comment=.*kwitansi.*' \
    'Exec=resipa' 'Icon=resipa' 'Categories=Office;'; do
    grep -qx "$line" "$desktop" 2>/dev/null || fail "resipa.desktop lacks a line '$line'"
done
for size in 16 32 48; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/resipa.png
    # A PNG's signature, then its header's width and height as four-byte numbers.
    header=$(od -An -tx1 -N24 "$png" 2>/dev/null | tr -d ' \n')
    want=$(printf '89504e470d0a1a0a0000000d49484452%08x%08x' "$size" "$size")
    [ "$header" = "$want" ] || fail "no ${size}x${size} PNG icon at ${png#"$prefix"/}"
done

# A reinstall replaces the program and the template but keeps the operator's own profile.
printf 'Kota,Milik Operator\r\n' >"$prefix/bin/informasi.inf"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "the second install failed"
grep -q 'Milik Operator' "$prefix/bin/informasi.inf" || fail "a reinstall overwrote the operator's profile"
cp "$data/informasi.inf" "$prefix/bin/informasi.inf"

# The copy, with the original gone, started from yet another folder. (That it finds its files
# beside itself, the real-desktop test shows.)
mkdir -p "$work/elsewhere" "$work/cwd"
cp -a "$prefix" "$copy"
rm -rf "$prefix"
cd "$work/cwd"
QT_QPA_PLATFORM=offscreen "$copy/bin/resipa" >"$work/program.log" 2>&1 &
program_pid=$!
sleep 1.5
kill -TERM "$program_pid" 2>/dev/null ||
    fail "the copied program ended within a second: $(head -c 500 "$work/program.log")"
wait "$program_pid" 2>/dev/null || true

[ "$failures" -eq 0 ] || exit 1
note "passed: the installed folder is complete and its copy starts elsewhere"
