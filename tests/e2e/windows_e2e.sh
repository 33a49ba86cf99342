#!/usr/bin/env bash
# resipa.exe under Wine, on an X desktop and in a prefix of its own, started from elsewhere: two
# receipts typed without pauses, each previewed through the shell into a WordPad window naming
# its viewing copy; Enter held on "Preview" previews once more; "Keluar" ends the program and
# leaves WordPad open; unrtf reads the last receipt back.
# Usage: windows_e2e.sh PROGRAM DATA_DIR WINE64 WINESERVER; KEEP_E2E_DIR=1 keeps the work folder.
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

need_tools Xvfb xauth mcookie xdotool xmodmap xset xprop openbox unrtf import
make_work "$program" resipa.exe "$data"
# A prefix with an X desktop of its own, as the window suite's.
export WINEPREFIX=$work/wineprefix TMPDIR=$work/wineprefix/tmp RESIPA_X=1 WINEDEBUG=-all
# A viewer that crashes ends without a debugger's window over the program's.
export WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe,winedbg.exe=d

finish() {
    # The program, WordPad and Wine's services: every process of this prefix; then the desktop.
    bash "$prefix_script" remove "$wine64" "$wineserver" || true
    end_work
}
trap finish EXIT

bash "$prefix_script" make "$wine64" "$wineserver" || die "the prefix could not be made"
xdesktop_use "$WINEPREFIX/x"
on_desktop=1
# Before the program reads the keymap; auto-repeat comes back only where a key is held on purpose.
keyboard_for_typing
day=$(tanggal)
(cd "$work/elsewhere" && exec "$wine64" "$exe/resipa.exe" >"$work/program.log" 2>&1) &
prog=$!
wid=$(timeout 60 xdotool search --sync --onlyvisible --name '^Resipa Elektronik - ' | head -n 1) ||
    die "no visible window named 'Resipa Elektronik' within 60 s"

is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$wid" ]; }
# Wine activates a window on a click, not on xdotool's focus: a click on the window's face,
# where no control is, which gives the focus back to the control that had it; always, as Wine's
# active window may differ from the window manager's.
activate() {
    ended "$prog" && die "the program ended while the receipt was typed"
    xdotool mousemove --window "$wid" 520 200 click 1
    wait_until 10 is_active || die "the program's window cannot be activated"
}
# WordPad names the receipt by its viewing copy, where "/" cannot stand.
viewers_of() {
    xdotool search --onlyvisible --name \
        "^Kwitansi ${1//\//-} [0-9]{2}\.[0-9]{2}\.[0-9]{2}( \([0-9]+\))?\.rtf - Wine Wordpad$" 2>/dev/null || true
}
documents_at_least() { [ "$(find "$exe/.kwitansi" -name 'Kwitansi *.rtf' | wc -l)" -ge "$1" ]; }
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
    type_receipt xdotool "$n"
    expect_viewer "${numbers[n]}" 1
done

# Enter held on "Preview", repeated by the keyboard, previews once. Wine's WordPad may receive the
# repeats that come once it is up, and may not survive them while it starts: the receipt's
# document is what counts.
activate
xset r on
xset r rate 200 30
xdotool keydown Return
sleep 1.5
xdotool keyup Return
xset r off
wait_until 60 documents_at_least 3 || die "Enter held on Preview previewed nothing"

# "Keluar" ends the program, after every key before it, and leaves every viewer open.
activate
xdotool key --delay 50 Tab Tab Return
wait_until 30 ended "$prog" || die "'Keluar' did not end the program"
wait "$prog" || die "the program ended with status $?"
documents_at_least 3 && ! documents_at_least 4 ||
    die "three Previews, yet these documents: $(ls "$exe/.kwitansi")"
for n in 0 1; do
    [ -n "$(viewers_of "${numbers[n]}")" ] || die "'Keluar' closed the viewer of ${numbers[n]}"
done

# What a reader sees of the last receipt, dated the day the program started or the next.
read_back "$exe" 1 Rp.42,000 "Empat Puluh Dua Ribu Rupiah" "$day" "$data"
passed=1
note "passed: a WordPad window for each Preview, one document for the held Enter, the viewers left open by Keluar; the last receipt read back"
