#!/usr/bin/env bash
# The program on an X desktop of its own under a fresh HOME, started from elsewhere: three
# receipts typed without pauses, each previewed through the real xdg-open into a LibreOffice
# Writer window naming its viewing copy; "Keluar" ends the program and leaves every viewer
# open; unrtf reads the last receipt back.
# Usage: viewer_e2e.sh PROGRAM DATA_DIR; KEEP_E2E_DIR=1 keeps the work folder.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../cmake/xdesktop.sh"
# Commas group digits (1,500,000) and xdotool types "é" in this locale. LibreOffice's first
# start builds its profile, hence the long wait for a viewer.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
VIEWER_SECONDS=${VIEWER_SECONDS:-120}
numbers=(KW-001 KW-002/XII/2026 KW-0042/V/2025)
names=("Siti Aminah" "Rudi Hartono" "Budi Santoso")
amounts=(275000 42000 1500000)
ket="Pembayaran café"

e2e_name=viewer
source "$here/common.sh"

# Ends a process, forcing it after two seconds.
end_pid() {
    kill "$1" 2>/dev/null || return 0
    wait_until 2 ended "$1" || kill -KILL "$1" 2>/dev/null || true
}
# On the X desktop: the program, three receipts.
drive() {
    local work=$1 exe=$2 on_desktop=1 prog wid n viewer title viewers=()
    keyboard_for_typing
    (cd "$work/elsewhere" && exec env -u BROWSER -u DEFAULT_BROWSER -u SNAP QT_QPA_PLATFORM=xcb \
        HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" "$exe/resipa" >"$work/program.log" 2>&1) &
    prog=$! && echo "$prog" >"$work/program.pid"
    wid=$(timeout 60 xdotool search --sync --onlyvisible --name 'Resipa Elektronik' | head -n 1) ||
        die "no visible window named 'Resipa Elektronik' within 60 s"

    key() {
        ended "$prog" && die "the program ended while the receipt was typed"
        # A viewer that came up late may have taken the focus.
        [ "$(xdotool getactivewindow 2>/dev/null)" = "$wid" ] ||
            xdotool windowactivate --sync "$wid" 2>/dev/null || die "the program's window cannot be activated"
        xdotool "$@"
    }
    # The viewer names the receipt by its viewing copy, where "/" cannot stand.
    viewer_of() {
        [ -z "$(xdotool search --name 'Unhandle Error' 2>/dev/null)" ] ||
            die "Preview of $1 showed an 'Unhandle Error' box"
        viewer=$(xdotool search --onlyvisible --name \
            "^Kwitansi ${1//\//-} [0-9]{2}\.[0-9]{2}\.[0-9]{2}\.rtf - LibreOffice Writer$" | head -n 1)
        [ -n "$viewer" ]
    }
    for n in 0 1 2; do
        type_receipt key "$n"
        wait_until "$VIEWER_SECONDS" viewer_of "${numbers[n]}" ||
            die "no LibreOffice window naming ${numbers[n]} within $VIEWER_SECONDS s"
        title=$(xdotool getwindowname "$viewer")
        note "viewer window: $title"
        cmp -s "$exe/.kwitansi/${title% - LibreOffice Writer}" "$exe/Resipa.rtf" ||
            die "the viewer shows no copy of the document just written: $title"
        viewers+=("$viewer")
    done

    # "Keluar" ends the program and leaves every viewer open.
    key key --delay 50 Tab Tab Return
    wait_until 30 ended "$prog" || die "'Keluar' did not end the program"
    wait "$prog" || die "the program ended with status $?"
    for viewer in "${viewers[@]}"; do
        xdotool getwindowname "$viewer" >/dev/null 2>&1 || die "'Keluar' closed the viewer $viewer"
    done
    echo passed >"$work/driven.txt"
}

if [ "${1:-}" = --drive ]; then drive "$2" "$3"; exit 0; fi

[ $# -eq 2 ] || die "usage: $0 PROGRAM DATA_DIR"
need_tools Xvfb xauth mcookie xdotool xmodmap xset xprop openbox soffice xdg-open xdg-mime unrtf import
make_work "$1" resipa "$2"
home=$work/home
mkdir -p "$home" && mkdir -m 700 "$work/runtime"
finish() {
    end_recorded "$work/program.pid" resipa
    # The viewers: the program's descendants, which alone carry its HOME.
    for p in /proc/[0-9]*; do
        if grep -qxzF "HOME=$home" "$p/environ" 2>/dev/null; then end_pid "${p#/proc/}"; fi
    done
    xdesktop_stop "$work/x"
    end_work
}
trap finish EXIT

# LibreOffice Writer opens RTF for this HOME, whatever the machine's own choice.
HOME=$home xdg-mime default libreoffice-writer.desktop text/rtf application/rtf
day=$(tanggal)
# A desktop of the test's own, under none of the caller's desktop settings.
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME \
    DBUS_SESSION_BUS_ADDRESS
mkdir "$work/x"
xdesktop_start "$work/x" || die "no X desktop"
status=0
timeout -k 10 280 bash "${BASH_SOURCE[0]}" --drive "$work" "$exe" || status=$?
if [ "$status" -ne 0 ] || [ ! -s "$work/driven.txt" ]; then
    cat "$work/program.log" 2>/dev/null || true
    die "the run on the desktop failed (status $status; 124 is the time limit)"
fi

# What a reader sees of the last receipt (the window suites check the document's bytes).
read_back "$exe" 2 Rp.1,500,000 "Satu Juta Lima Ratus Ribu Rupiah" "$day" "$2"
# The typed city replaced the profile's.
grep -qF Magelang "$work/text.txt" && die "the profile's city 'Magelang' is still on the receipt"
passed=1
note "passed: three viewer windows, each naming its own receipt, all left open by Keluar; the last receipt read back"
