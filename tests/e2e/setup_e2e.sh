#!/usr/bin/env bash
# The Windows setup under Wine, the way a clerk meets it, in a prefix and an X server of its own:
# a silent install into the user's folder with its Start-menu entry and installed-apps entry;
# upgrades that keep the operator's profile and template; the uninstaller, which keeps them
# too unless told to remove everything, and even then follows no link out of its folder; an
# install into a folder named with spaces and "é", whose shortcut starts the window and which
# neither the setup nor the uninstaller touches while the program runs; Indonesian pages.
#
# Usage: setup_e2e.sh SETUP DATA_DIR VERSION WINE64 WINESERVER; KEEP_E2E_DIR=1 keeps the work
# folder.
set -euo pipefail
setup=$1 data=$2 version=$3 wine64=$4 wineserver=$5
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../cmake/xdesktop.sh"
e2e_name=setup
source "$here/common.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/resipa-setup.XXXXXX")
# A HOME of its own too: Wine links the user's desktop and documents into it.
export WINEPREFIX=$work/prefix TMPDIR=$work/tmp HOME=$work/home LC_ALL=C.UTF-8 WINEDEBUG=-all \
    WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe=d
mkdir -p "$WINEPREFIX" "$TMPDIR" "$HOME" "$work/x"
passed=0
finish() {
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w 2>/dev/null || true
    xdesktop_stop "$work/x"
    if [ "$passed" = 1 ] && [ -z "${KEEP_E2E_DIR:-}" ]; then rm -rf "$work"; else note "work folder kept: $work"; fi
}
trap finish EXIT

xdesktop_start "$work/x" || die "no X desktop"
on_desktop=1
"$wine64" wineboot -i >"$work/wineboot.log" 2>&1 || die "no Wine prefix: $(<"$work/wineboot.log")"

user_win="C:\\users\\$(id -un)"
user=$WINEPREFIX/drive_c/users/$(id -un)
a_win="$user_win\\AppData\\Local\\Programs\\Resipa Elektronik" a="$user/AppData/Local/Programs/Resipa Elektronik"
b_win="C:\\Kas Café #1\\Resipa Elektronik" b="$WINEPREFIX/drive_c/Kas Café #1/Resipa Elektronik"
menu="$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Resipa Elektronik.lnk"
menu_win="$user_win\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Resipa Elektronik.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\ResipaElektronik'

regval() { "$wine64" reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z]* *//p"; }
# NSIS takes a folder after /D= or _?= to the end of its command line, unquoted; Wine quotes an
# argument that holds a space, so the folder goes as words, which Wine joins with one space.
run_in() {
    local words; read -ra words <<<"${*: -1}"
    "$wine64" "${@:1:$#-1}" "${words[@]}"
}
# Every file and folder below $1 with its change time: any write shows.
snapshot() { find "$1" -printf '%P %y %s %C@\n' | sort; }
expect() { # kept|gone FOLDER FILES...: each file is there, or is not
    local f; for f in "${@:3}"; do
        case $1 in kept) [ -e "$2/$f" ] || die "$f is missing from $2" ;;
        gone) [ ! -e "$2/$f" ] || die "$f was left in $2" ;; esac
    done
}

note "a silent install into the user's own folder"
"$wine64" "$setup" /S || die "the silent install ended with $?"
expect kept "$a" resipa.exe copot.exe
cmp -s "$a/rspdefault.rtf" "$data/rspdefault.rtf" || die "no template beside the program"
cmp -s "$a/informasi.inf" "$data/informasi.inf" || die "no sample profile beside the program"
[ -f "$menu" ] || die "no Start-menu entry $menu"
for pair in "DisplayName=Resipa Elektronik" "DisplayVersion=$version" "InstallLocation=$a_win" \
    "DisplayIcon=$a_win\\resipa.exe,0" "UninstallString=\"$a_win\\copot.exe\"" \
    "QuietUninstallString=\"$a_win\\copot.exe\" /S"; do
    [ "$(regval "${pair%%=*}")" = "${pair#*=}" ] ||
        die "the installed-apps entry has ${pair%%=*} '$(regval "${pair%%=*}")', not '${pair#*=}'"
done
(($(regval EstimatedSize) >= $(stat -c %s "$a/resipa.exe") / 1024)) ||
    die "the installed-apps entry gives a size of $(regval EstimatedSize) KB"

note "an upgrade over the operator's profile, template and receipts"
printf 'Kota,Sleman\r\nNama Perusahaan,PT Milik Operator\r\n' >"$a/informasi.inf"
printf '{\\rtf1 template operator [NAMA]}\r\n' >"$a/rspdefault.rtf"
echo '{\rtf1 kwitansi}' >"$a/Resipa.rtf"
mkdir "$a/.kwitansi" && echo '{\rtf1 satu}' >"$a/.kwitansi/Kwitansi 1.rtf"
mkdir "$work/own" && cp -a "$a/informasi.inf" "$a/rspdefault.rtf" "$a/Resipa.rtf" "$a/.kwitansi" "$work/own/"
"$wine64" "$setup" /S || die "the upgrade ended with $?"
for f in informasi.inf rspdefault.rtf Resipa.rtf ".kwitansi/Kwitansi 1.rtf"; do
    cmp -s "$a/$f" "$work/own/$f" || die "the upgrade changed the operator's $f"
done
cmp -s "$a/rspdefault.rtf.baru" "$data/rspdefault.rtf" || die "no new default beside the operator's template"

note "an upgrade over the template an earlier version delivered"
printf '{\\rtf1 bawaan lama}' | tee "$a/rspdefault.rtf" >"$a/rspdefault.rtf.terpasang"
"$wine64" "$setup" /S || die "the upgrade ended with $?"
cmp -s "$a/rspdefault.rtf" "$data/rspdefault.rtf" || die "the earlier default template was not replaced"
expect gone "$a" rspdefault.rtf.baru

note "the uninstall the installed-apps entry names, silent"
cp "$work/own/rspdefault.rtf" "$a/rspdefault.rtf"
uninstall=$(regval QuietUninstallString)
[ "${uninstall% /S}" = "\"$a_win\\copot.exe\"" ] || die "unexpected uninstall command: $uninstall"
"$wine64" "$a_win\\copot.exe" /S || die "the uninstaller ended with $?"
"$wineserver" -w # it goes on from a copy of itself
expect gone "$a" resipa.exe copot.exe rspdefault.rtf.terpasang informasi.inf.terpasang
for f in informasi.inf rspdefault.rtf Resipa.rtf ".kwitansi/Kwitansi 1.rtf"; do
    cmp -s "$a/$f" "$work/own/$f" || die "the uninstall took the operator's $f"
done
[ ! -e "$menu" ] || die "the Start-menu entry stayed"
[ -z "$(regval DisplayName)" ] || die "the installed-apps entry stayed"

note "an install into $b_win; its shortcut starts the window"
run_in "$setup" /S "/D=$b_win" || die "the install into $b_win ended with $?"
expect kept "$b" resipa.exe copot.exe informasi.inf rspdefault.rtf
"$wine64" start "$menu_win" || die "the Start-menu entry did not start"
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Resipa Elektronik' | head -n 1) ||
    die "no window named 'Resipa Elektronik' within 30 s of starting the Start-menu entry"

note "while it runs, the setup and the uninstaller change nothing"
snapshot "$b" >"$work/running.txt"
"$wine64" "$setup" /S && die "the setup went on over the running program in the folder of the last install"
run_in "$b/copot.exe" /S "_?=$b_win" && die "the uninstaller went on over the running program"
snapshot "$b" | diff "$work/running.txt" - || die "files changed while the program ran"
"$wine64" taskkill /IM resipa.exe >/dev/null 2>&1 || die "the program could not be asked to close"
wait_until 30 sh -c "! xdotool getwindowname $window >/dev/null 2>&1" || die "the window stayed"

note "an uninstall keeps the changed template; everything goes when asked, but no link is followed"
printf '{\\rtf1 template operator}' >"$b/rspdefault.rtf"
echo '{\rtf1 kwitansi}' >"$b/Resipa.rtf"
mkdir "$work/elsewhere" && echo '{\rtf1 dua}' >"$work/elsewhere/Kwitansi 2.rtf"
ln -s "$work/elsewhere" "$b/.kwitansi"
run_in "$b/copot.exe" /S "_?=$b_win" || die "the uninstaller ended with $?"
expect gone "$b" resipa.exe informasi.inf rspdefault.rtf.terpasang informasi.inf.terpasang
expect kept "$b" rspdefault.rtf Resipa.rtf
run_in "$b/copot.exe" /S /SEMUA "_?=$b_win" || die "the uninstaller ended with $?"
expect gone "$b" rspdefault.rtf Resipa.rtf
[ -f "$work/elsewhere/Kwitansi 2.rtf" ] || die "removing everything followed the link .kwitansi"

note "the pages speak Indonesian"
"$wine64" "$setup" &
timeout 30 xdotool search --sync --onlyvisible --name '^Instalasi Program Resipa Elektronik$' >/dev/null ||
    die "no setup window named 'Instalasi Program Resipa Elektronik' within 30 s"
[ -z "${KEEP_E2E_DIR:-}" ] || import -window root "$work/welcome.png"
passed=1
note "passed"
