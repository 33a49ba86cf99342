#!/usr/bin/env bash
# Installs what ./run.sh builds into a temporary prefix, checks the layout and the menu entry,
# reinstalls over the files it wrote and over the operator's own, starts the program from its
# entry's Exec line with a PATH that lacks the prefix's bin, then uninstalls it, keeping the
# operator's files until --all. Prefixes that cannot work are refused before anything is
# written, and so are uninstalls that a link or another user's folder would lead astray.
# Runs as root, so that a folder can be given to another user.
# Usage: install_e2e.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
failures=0
fail() { printf 'install: FAIL: %s\n' "$*" >&2; failures=$((failures + 1)); }
build=$1
data=$2/data
uninstall() { BUILD_DIR=$build bash "$source/scripts/uninstall.sh" "$@"; }
source=$2

work=$(mktemp -d "${TMPDIR:-/tmp}/resipa-install.XXXXXX")
work=$(cd "$work" && pwd -P)
trap 'rm -rf "$work"' EXIT

# Only the program's target, as ./run.sh builds it, with the icons drawn afresh.
rm -rf "$build/qt/icons"
cmake --build "$build" --target resipa >"$work/build.log" 2>&1 || { cat "$work/build.log"; exit 1; }
prefix="$work/home/my .local" folder="$work/home/my .local/lib/resipa"
install() {
    cmake --install "$build" --prefix "${1:-$prefix}" >"$work/install.log" 2>&1 ||
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

# A reinstall replaces a template that an earlier install wrote and keeps the unchanged sample
# profile on its list; over the operator's own template and profile it keeps both, puts the new
# template beside them and says so.
printf 'earlier default\r\n' >"$folder/rspdefault.rtf"
sed -i "s|^[0-9a-f]*\(  lib/resipa/rspdefault.rtf\)\$|$(sha256sum <"$folder/rspdefault.rtf" | cut -c1-64)\1|" \
    "$folder/.installed"
install
cmp -s "$data/rspdefault.rtf" "$folder/rspdefault.rtf" && [ ! -e "$folder/rspdefault.rtf.baru" ] ||
    fail "a reinstall did not replace the template an earlier install wrote"
grep -qx "$(sha256sum <"$data/informasi.inf" | cut -c1-64)  lib/resipa/informasi.inf" \
    "$folder/.installed" || fail "a reinstall dropped the unchanged sample profile from .installed"
printf 'Kota,Milik Operator\r\n' >"$folder/informasi.inf"
printf 'own template\r\n' >"$folder/rspdefault.rtf"
install
grep -q 'Milik Operator' "$folder/informasi.inf" && grep -q 'own template' "$folder/rspdefault.rtf" ||
    fail "a reinstall overwrote the operator's profile or template"
cmp -s "$data/rspdefault.rtf" "$folder/rspdefault.rtf.baru" &&
    grep -qF "beside it: $folder/rspdefault.rtf.baru" "$work/install.log" ||
    fail "a reinstall did not put the new template beside the operator's, or said nothing"

# Prefixes whose menu entry could not start the program, and a build folder that this user
# cannot write, where cmake --install puts its list last: refused with nothing written.
chmod 711 "$work"
mkdir "$work/nobody" && chown nobody "$work/nobody"
for bad in "$work/100%" "$work/two
lines" "$work/nobody/prefix"; do
    as=()
    [[ $bad = */nobody/* ]] && as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    "${as[@]}" cmake --install "$build" --prefix "$bad" >"$work/bad.log" 2>&1 &&
        fail "an install into '$bad' succeeded"
    grep -q 'Nothing installed' "$work/bad.log" && [ ! -e "$bad" ] ||
        fail "an install into '$bad' was not refused before writing: $(head -c 300 "$work/bad.log")"
done

# The entry's Exec line run as a launcher runs it, with a PATH that lacks bin/, from elsewhere.
(cd "$work" && exec env PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen \
    sh -c "exec $(sed -n 's/^Exec=//p' "$entry")") >"$work/run.log" 2>&1 &
sleep 1.5
kill -TERM $! 2>/dev/null || fail "the entry's program ended at once: $(head -c 500 "$work/run.log")"
wait $! 2>/dev/null || true

# The uninstall removes what the install put there and keeps the operator's files until --all;
# a link among the receipts goes as a link.
mkdir "$folder/.kwitansi"
operators=("$folder/informasi.inf" "$folder/rspdefault.rtf" "$folder/Resipa.rtf" "$folder/.kwitansi/K.rtf")
touch "${operators[@]:2}" "$prefix/share/applications/other.desktop" "$work/outside.rtf"
ln -s "$work/outside.rtf" "$folder/.kwitansi/luar.rtf"
uninstall "$prefix" >"$work/uninstall.log" || fail "the uninstall failed: $(cat "$work/uninstall.log")"
for path in "$folder/resipa" "$folder/rspdefault.rtf.baru" "$prefix/bin/resipa" "$entry" "${icons[@]}"; do
    [ ! -e "$path" ] && [ ! -L "$path" ] || fail "the uninstall left ${path#"$prefix"/}"
done
for path in "${operators[@]}"; do [ -f "$path" ] || fail "the uninstall removed ${path#"$prefix"/}"; done
uninstall "$prefix" --all >"$work/uninstall.log" || fail "the uninstall --all failed"
[ ! -e "$folder" ] && [ -f "$prefix/share/applications/other.desktop" ] && [ -f "$work/outside.rtf" ] ||
    fail "the uninstall --all left lib/resipa or removed what is not its own"

# Another install, made three times: the operator's template kept beside the new default, then
# replaced by that default. Prefixes set up to lead an uninstall --all into it are refused and
# remove nothing, and a link named .kwitansi goes as a link. Its own uninstall then removes
# everything, the unchanged sample profile and the template beside it too.
other=$work/other evil=$work/evil
install "$other"
printf 'own template\r\n' >"$other/lib/resipa/rspdefault.rtf"
install "$other"
cp "$data/rspdefault.rtf" "$other/lib/resipa/rspdefault.rtf"
install "$other"
while IFS='|' read -r status what setup survivor; do
    rm -rf "$evil" && mkdir -p "$evil/lib/resipa" && : >"$evil/lib/resipa/.installed"
    eval "$setup"
    got=0
    uninstall "$evil" --all >"$work/evil.log" 2>&1 || got=$?
    eval "survivor=$survivor"
    [ "$got" = "$status" ] && [ -e "$survivor" ] ||
        fail "an uninstall through $what: exit $got, ${survivor#"$work"/} kept? $(cat "$work/evil.log")"
done <<'EOF'
1|a link at lib/resipa|rm -r "$evil/lib/resipa"; ln -s "$other/lib/resipa" "$evil/lib/resipa"|"$other/lib/resipa/informasi.inf"
1|a link at share|ln -s "$other/share" "$evil/share"|"$other/share/applications/resipa.desktop"
1|a link at bin|ln -s "$other/bin" "$evil/bin"|"$other/bin/resipa"
1|another user's folder|mkdir -p "$evil/share/applications"; touch "$evil/share/applications/resipa.desktop"; chown -R nobody "$evil/share"|"$evil/share/applications/resipa.desktop"
0|a link named .kwitansi|ln -s "$other/lib/resipa" "$evil/lib/resipa/.kwitansi"|"$other/lib/resipa/informasi.inf"
EOF
uninstall "$other" >"$work/uninstall.log" && [ ! -e "$other/lib/resipa" ] ||
    fail "the uninstall after three installs kept what they wrote: $(cat "$work/uninstall.log")"

[ "$failures" -eq 0 ] || exit 1
echo "install: passed: the run.sh build installs, reinstalls, starts from its entry, refuses what cannot be safe and uninstalls"
