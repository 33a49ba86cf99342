#!/usr/bin/env bash
# Installs what ./run.sh builds into a temporary prefix, checks the layout and the menu entry,
# starts the program from its entry's Exec line with a PATH that lacks the prefix's bin, then
# uninstalls it, keeping the operator's files until --all.
# Usage: install_e2e.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
failures=0
fail() { printf 'install: FAIL: %s\n' "$*" >&2; failures=$((failures + 1)); }
build=$1
data=$2/data
uninstall=$2/scripts/uninstall.sh

work=$(mktemp -d "${TMPDIR:-/tmp}/resipa-install.XXXXXX")
work=$(cd "$work" && pwd -P)
trap 'rm -rf "$work"' EXIT

# Only the program's target, as ./run.sh builds it, with the icons drawn afresh.
rm -rf "$build/qt/icons"
cmake --build "$build" --target resipa >"$work/build.log" 2>&1 || { cat "$work/build.log"; exit 1; }
prefix="$work/home/my .local" folder="$work/home/my .local/lib/resipa"
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
for line in '[Desktop Entry]' 'Type=Application' 'Name=Resipa Elektronik' "Exec=\"$folder/resipa\"" \
    "TryExec=$folder/resipa" 'Icon=resipa' 'Categories=Office;'; do
    grep -qxF -- "$line" "$entry" || fail "resipa.desktop lacks a line '$line'"
done
icons=()
for size in 16 32 48; do
    icons+=("$prefix/share/icons/hicolor/${size}x${size}/apps/resipa.png")
    file -b "${icons[-1]}" | grep -q "^PNG image data, $size x $size," || fail "no ${size}px icon"
done

# A reinstall replaces the program and the template but keeps the operator's own profile.
printf 'Kota,Milik Operator\r\n' >"$folder/informasi.inf"
install
grep -q 'Milik Operator' "$folder/informasi.inf" || fail "a reinstall overwrote the operator's profile"

# The entry's Exec line run as a launcher runs it, with a PATH that lacks bin/, from elsewhere.
(cd "$work" && exec env PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen \
    sh -c "exec $(sed -n 's/^Exec=//p' "$entry")") >"$work/run.log" 2>&1 &
sleep 1.5
kill -TERM $! 2>/dev/null || fail "the entry's program ended at once: $(head -c 500 "$work/run.log")"
wait $! 2>/dev/null || true

# The uninstall removes what the install put there and keeps the operator's files until --all.
printf 'own template\r\n' >"$folder/rspdefault.rtf"
mkdir "$folder/.kwitansi"
operators=("$folder/informasi.inf" "$folder/rspdefault.rtf" "$folder/Resipa.rtf" "$folder/.kwitansi/K.rtf")
touch "${operators[@]:2}" "$prefix/share/applications/other.desktop"
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
