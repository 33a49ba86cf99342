#!/usr/bin/env bash
# The Windows setup as a clerk meets it, under Wine with a prefix, HOME and X desktop of its own.
# Usage: setup_e2e.sh SETUP DATA_DIR VERSION WINE64 WINESERVER; KEEP_E2E_DIR=1 keeps the folder.
set -euo pipefail
setup=$1 data=$2 version=$3 wine64=$4 wineserver=$5 here=$(dirname "${BASH_SOURCE[0]}")
e2e_name=setup && source "$here/common.sh" && source "$here/../../cmake/xdesktop.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/resipa-setup.XXXXXX") passed=0
# Wine links the user's desktop and documents into HOME.
export WINEPREFIX=$work/wineprefix TMPDIR=$work/wineprefix/tmp HOME=$work/home RESIPA_X=1 \
    LC_ALL=C.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe=d
prefix() { bash "$here/../../cmake/wineprefix.sh" "$1" "$wine64" "$wineserver"; }
finish() {
    prefix remove || true
    end_work
}
trap finish EXIT
mkdir -p "$HOME" "$work/own" "$work/elsewhere" && prefix make || die "the prefix could not be made"
xdesktop_use "$WINEPREFIX/x" && on_desktop=1

users="C:\\users\\$(id -un)" b_win="C:\\Kas Café #1\\Resipa Elektronik"
a_win="$users\\AppData\\Local\\Programs\\Resipa Elektronik"
menu_win="$users\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Resipa Elektronik.lnk"
unix() { local p=${1//\\//}; echo "$WINEPREFIX/drive_c/${p#C:/}"; }
a=$(unix "$a_win") b=$(unix "$b_win") menu=$(unix "$menu_win")
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\ResipaElektronik'
regval() { "$wine64" reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z]* *//p"; }
# NSIS reads the folder after /D= or _?= unquoted to the line's end; Wine quotes an argument
# holding a space, so the last argument goes as words, which Wine joins with one space.
win() { local w; read -ra w <<<"${*: -1}"; "$wine64" "${@:1:$#-1}" "${w[@]}"; }
# check FOLDER +NAME (is there) -NAME (is not) NAME=FILE (holds FILE's bytes)...
check() {
    local d=$1 s
    for s in "${@:2}"; do
        case $s in +*) [ -e "$d/${s#+}" ] ;; -*) [ ! -e "$d/${s#-}" ] ;; *) cmp -s "$d/${s%%=*}" "${s#*=}" ;;
        esac || die "in $d, not so: $s"
    done
}

# A silent install into the user's own folder, with its entries in the Start menu and in the
# installed apps.
win "$setup" /S || die "the silent install ended with $?"
check "$a" +resipa.exe +copot.exe rspdefault.rtf="$data/rspdefault.rtf" informasi.inf="$data/informasi.inf"
check "${menu%/*}" "+${menu##*/}"
for pair in "DisplayName=Resipa Elektronik" "DisplayVersion=$version" "InstallLocation=$a_win" \
    "DisplayIcon=$a_win\\resipa.exe,0" "UninstallString=\"$a_win\\copot.exe\"" \
    "QuietUninstallString=\"$a_win\\copot.exe\" /S"; do
    [ "$(regval "${pair%%=*}")" = "${pair#*=}" ] || die "${pair%%=*} is '$(regval "${pair%%=*}")'"
done
(($(regval EstimatedSize) >= $(stat -c %s "$a/resipa.exe") / 1024)) || die "EstimatedSize is too small"

# Upgrades keep the operator's files, the new default beside their template; a default that an
# earlier version delivered is replaced. A silent uninstall keeps the operator's files too.
printf 'Kota,Sleman\r\nNama Perusahaan,PT Milik Operator\r\n' >"$a/informasi.inf"
mkdir "$a/.kwitansi" && echo '{\rtf1 milik operator}' |
    tee "$a/rspdefault.rtf" "$a/Resipa.rtf" >"$a/.kwitansi/Kwitansi 1.rtf"
cp -a "$a/"{informasi.inf,rspdefault.rtf,Resipa.rtf,.kwitansi} "$work/own/"
own=(informasi.inf="$work/own/informasi.inf" Resipa.rtf="$work/own/Resipa.rtf"
    ".kwitansi/Kwitansi 1.rtf=$work/own/.kwitansi/Kwitansi 1.rtf")
win "$setup" /S || die "the upgrade ended with $?"
check "$a" "${own[@]}" rspdefault.rtf="$work/own/rspdefault.rtf" rspdefault.rtf.baru="$data/rspdefault.rtf"
printf '{\\rtf1 bawaan lama}' | tee "$a/rspdefault.rtf" >"$a/rspdefault.rtf.terpasang"
win "$setup" /S || die "the upgrade ended with $?"
check "$a" rspdefault.rtf="$data/rspdefault.rtf" -rspdefault.rtf.baru
win "$a/copot.exe" /S "_?=$a_win" || die "the uninstaller ended with $?"
check "$a" -resipa.exe -rspdefault.rtf -rspdefault.rtf.terpasang -informasi.inf.terpasang "${own[@]}"
check "${menu%/*}" "-${menu##*/}"
[ -z "$(regval DisplayName)" ] || die "the installed-apps entry stayed"

# Into a folder with spaces and "é": the Start-menu entry starts the window, and while it runs
# neither the setup (finding the folder in the registry) nor the uninstaller changes a thing.
win "$setup" /S "/D=$b_win" || die "the install into $b_win ended with $?"
check "$b" +resipa.exe +copot.exe +informasi.inf +rspdefault.rtf
"$wine64" start "$menu_win" || die "the Start-menu entry did not start"
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Resipa Elektronik' | head -n 1) ||
    die "no window named 'Resipa Elektronik' within 30 s of starting the Start-menu entry"
find "$b" -printf '%P %y %s %C@\n' | sort >"$work/running.txt"
win "$setup" /S && die "the setup went on over the running program"
win "$b/copot.exe" /S "_?=$b_win" && die "the uninstaller went on over the running program"
find "$b" -printf '%P %y %s %C@\n' | sort | diff "$work/running.txt" - || die "files changed meanwhile"
"$wine64" taskkill /IM resipa.exe >/dev/null 2>&1 || die "the program could not be asked to close"
wait_until 30 sh -c "! xdotool getwindowname $window >/dev/null 2>&1" || die "the window stayed"

# Removing everything follows no link out of the folder.
echo '{\rtf1 dua}' | tee "$b/Resipa.rtf" >"$work/elsewhere/Kwitansi 2.rtf"
ln -s "$work/elsewhere" "$b/.kwitansi"
win "$b/copot.exe" /S /SEMUA "_?=$b_win" || die "the uninstaller ended with $?"
check "$b" -resipa.exe -rspdefault.rtf -informasi.inf -Resipa.rtf
check "$work/elsewhere" "+Kwitansi 2.rtf"

# The pages speak Indonesian.
"$wine64" "$setup" &
timeout 30 xdotool search --sync --onlyvisible --name '^Instalasi Program Resipa Elektronik$' >/dev/null ||
    die "no setup window named 'Instalasi Program Resipa Elektronik' within 30 s"
passed=1
