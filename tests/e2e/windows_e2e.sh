#!/usr/bin/env bash
# resipa.exe on a real desktop under Wine: copied into a folder whose name needs care and
# started from another, it takes two receipts typed with the keyboard only and without pauses,
# each previewed through the Windows shell into Wine's WordPad, with openbox on an X server and
# a Wine prefix of their own. Each Preview must bring up a WordPad window naming that receipt's
# viewing copy, Enter held on "Preview" must preview once, "Keluar" must end the program and
# leave WordPad open, and unrtf must read the last receipt back.
#
# Usage: windows_e2e.sh PROGRAM DATA_DIR WINE64 WINESERVER (DATA_DIR: the folder of
# rspdefault.rtf); the profile is this folder's informasi.inf. KEEP_E2E_DIR=1 keeps the work
# folder.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prefix_script=$here/../../cmake/wineprefix.sh
source "$here/../../cmake/xdesktop.sh"
[ $# -eq 4 ] || { echo "usage: $0 PROGRAM DATA_DIR WINE64 WINESERVER" >&2; exit 2; }
program=$1 data=$2 wine64=$3 wineserver=$4
# Commas group digits (42,000); Wine takes the user's locale from LC_ALL.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
numbers=(KW-001 KW-002/XII/2026)
names=("Siti Aminah" "Rudi Hartono")
amounts=(275000 42000)
ket="Pembayaran café"

e2e_name=windows
source "$here/common.sh"

for tool in Xvfb xauth mcookie xdotool xmodmap xset xprop openbox unrtf import; do
    command -v "$tool" >/dev/null || die "$tool is missing (./test.sh installs it)"
done
work=$(mktemp -d "${TMPDIR:-/tmp}/resipa-windows.XXXXXX")
work=$(cd "$work" && pwd -P)
# Each of a blank, "#", "%" and "é" must survive the way to the shell.
exe="$work/Kas #1 100% café"
mkdir -p "$exe" "$work/elsewhere"
cp "$program" "$exe/resipa.exe"
cp "$data/rspdefault.rtf" "$here/informasi.inf" "$exe/"
# A prefix with an X desktop of its own, as the window suite's.
export WINEPREFIX=$work/wineprefix TMPDIR=$work/wineprefix/tmp RESIPA_X=1 WINEDEBUG=-all
export WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe=d

passed=0
finish() {
    # The program, WordPad and Wine's services: every process of this prefix; then the desktop.
    bash "$prefix_script" remove "$wine64" "$wineserver" || true
    if [ "$passed" = 1 ] && [ -z "${KEEP_E2E_DIR:-}" ]; then rm -rf "$work"; else note "work folder kept: $work"; fi
}
trap finish EXIT

bash "$prefix_script" make "$wine64" "$wineserver" || die "the prefix could not be made"
xdesktop_use "$WINEPREFIX/x"
on_desktop=1
# "é" on a key of its own, before the program reads the keymap; no auto-repeat but where a key is held
# on purpose, so that a busy machine cannot repeat a typed key.
xmodmap -e "keycode $(xmodmap -pke | awk 'NF == 3 {print $2; exit}') = eacute Eacute"
xset r off
day=$(tanggal)
(cd "$work/elsewhere" && exec "$wine64" "$exe/resipa.exe" >"$work/program.log" 2>&1) &
prog=$!
wid=$(timeout 60 xdotool search --sync --onlyvisible --name '^Resipa Elektronik - ' | head -n 1) ||
    die "no visible window named 'Resipa Elektronik' within 60 s"

is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$wid" ]; }
# Wine activates a window on a click, not on xdotool's focus: a click on the window's face,
# where no control is, which gives the focus back to the control that had it.
activate() {
    ended "$prog" && die "the program ended while the receipt was typed"
    is_active || xdotool mousemove --window "$wid" 520 200 click 1
    wait_until 10 is_active || die "the program's window cannot be activated"
}
# WordPad names the receipt by its viewing copy, where "/" cannot stand.
viewers_of() {
    xdotool search --onlyvisible --name \
        "^Kwitansi ${1//\//-} [0-9]{2}\.[0-9]{2}\.[0-9]{2}( \([0-9]+\))?\.rtf - Wine Wordpad$" 2>/dev/null || true
}
has_viewers() {
    [ -z "$(xdotool search --name '^Unhandle Error$' 2>/dev/null)" ] ||
        die "Preview of $1 showed an 'Unhandle Error' box"
    [ "$(viewers_of "$1" | wc -l)" -ge "$2" ]
}
# Waits for the $2-th WordPad window naming receipt $1, whose document must hold the bytes of
# the Resipa.rtf just written.
expect_viewer() {
    local title
    wait_until 60 has_viewers "$@" || die "no WordPad window number $2 naming $1 within 60 s"
    title=$(xdotool getwindowname "$(viewers_of "$1" | tail -n 1)")
    note "viewer window: $title"
    cmp -s "$exe/.kwitansi/${title% - Wine Wordpad}" "$exe/Resipa.rtf" ||
        die "WordPad shows no copy of the document just written: $title"
}

for n in 0 1; do
    activate
    # "Preview" kept the focus: one Tab to "Clear", whose Enter empties the receipt. The date
    # keeps today's; Enter after each field, the last landing on "Preview", and Enter on it.
    [ "$n" -eq 0 ] || xdotool key --delay 50 Tab Return
    for v in "" "${numbers[n]}" Bantul "${names[n]}" "${amounts[n]}" "$ket"; do
        [ -z "$v" ] || xdotool type --delay 50 "$v"
        xdotool key --delay 50 Return
    done
    note "Enter on Preview for ${numbers[n]}"
    xdotool key Return
    expect_viewer "${numbers[n]}" 1
done

# Enter held on "Preview", repeated by the keyboard, previews once.
activate
xset r on
xset r rate 200 30
xdotool keydown Return
sleep 1.5
xdotool keyup Return
xset r off
expect_viewer "${numbers[1]}" 2

# "Keluar" ends the program, after every key before it, and leaves every viewer open.
activate
xdotool key --delay 50 Tab Tab Return
wait_until 30 ended "$prog" || die "'Keluar' did not end the program"
wait "$prog" || die "the program ended with status $?"
[ "$(find "$exe/.kwitansi" -name 'Kwitansi *.rtf' | wc -l)" -eq 3 ] ||
    die "three Previews, yet these documents: $(ls "$exe/.kwitansi")"
for n in 0 1; do
    [ -n "$(viewers_of "${numbers[n]}")" ] || die "'Keluar' closed the viewer of ${numbers[n]}"
done

# What a reader sees of the last receipt, dated the day the program started or the next.
unrtf --html "$exe/Resipa.rtf" 2>"$work/unrtf.err" |
    sed 's/<[^>]*>//g; s/&eacute;/é/g; s/&nbsp;/ /g; s/&amp;/\&/g' | tr -s '[:space:]' ' ' >"$work/text.txt" ||
    die "unrtf cannot read the document: $(<"$work/unrtf.err")"
for v in "${numbers[1]}" Bantul "${names[1]}" Rp.42,000 "Empat Puluh Dua Ribu Rupiah" "$ket" \
    "PT Contoh Sejahtera Uji" "Katering, Kafé & Kue" "Jl. Melati Uji No. 7, Bandung 40111" \
    "Bank Contoh Uji" 987-654-3210 "Sari Contoh Lestari" "Agus Pranoto Uji"; do
    grep -qwF -- "$v" "$work/text.txt" || die "the receipt does not show '$v': $(cat "$work/text.txt")"
done
grep -qwF -e "$day" -e "$(tanggal)" "$work/text.txt" || die "the receipt does not show today's date '$day'"
cmp -s "$data/rspdefault.rtf" "$exe/rspdefault.rtf" || die "the template was changed"
cmp -s "$here/informasi.inf" "$exe/informasi.inf" || die "the profile was changed"
passed=1
note "passed: a WordPad window for each Preview, one for the held Enter, all left open by Keluar; the last receipt read back"
