#!/usr/bin/env bash
# Three receipts previewed one after another into a real desktop: the real xdg-open, LibreOffice
# Writer as the handler for RTF and openbox as the window manager, in a virtual X server under a
# fresh HOME. Every viewer window is left open; after each Preview a new one naming that
# receipt must appear, and "Keluar" must leave all three open.
#
# Usage: viewer_e2e.sh PROGRAM DATA_DIR
#   PROGRAM   the built resipa executable
#   DATA_DIR  the folder holding rspdefault.rtf
# KEEP_E2E_DIR=1 keeps the work folder, with a picture of each viewer window, shot-N.png.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export LC_ALL=C.UTF-8 LANG=C.UTF-8
E2E_NAME=viewer
# shellcheck source=tests/e2e/e2elib.sh
source "$here/e2elib.sh"

# A first start of LibreOffice under a fresh HOME builds its profile; on a busy machine that
# takes a while.
VIEWER_SECONDS=${VIEWER_SECONDS:-120}
numbers=("KW-001" "KW-002/XII/2026" "KW-003")
names=("Budi Santoso" "Siti Aminah" "Rudi Hartono")
amounts=(1500000 275000 42000)

# Inside the X server: openbox, the program, three receipts.
drive() {
    local work=$1 prog wid n shown viewer viewers=()
    record_xvfb "$work/xvfb.pid"
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    echo $! >"$work/openbox.pid"
    sleep 1
    HOME=$work/home XDG_RUNTIME_DIR=$work/runtime \
        start_program "$work/Resipa" "$work/elsewhere" "$work/program.log"
    echo "$prog" >"$work/program.pid"
    for n in 0 1 2; do
        xdotool windowactivate --sync "$wid"
        sleep 1
        if [ "$n" -gt 0 ]; then
            # "Preview" kept the focus: one Tab to "Clear", whose Enter empties the receipt.
            xdotool key --delay 50 Tab
            enter
        fi
        type_receipt "${numbers[n]}" Bantul "${names[n]}" "${amounts[n]}" "Pembayaran $n"
        note "Enter on Preview for ${numbers[n]}"
        enter
        # The viewer names the receipt by its document's name, where "/" cannot stand.
        shown="Kwitansi ${numbers[n]//\//-} "
        viewer=
        for ((i = 0; i < VIEWER_SECONDS; i++)); do
            if [ -n "$(xdotool search --name 'Unhandle Error' 2>/dev/null)" ]; then
                import -window root "$work/shot.png" || true
                die "Preview of ${numbers[n]} showed an 'Unhandle Error' box"
            fi
            viewer=$(xdotool search --name "$shown.*LibreOffice" 2>/dev/null | head -n 1) ||
                true
            [ -n "$viewer" ] && break
            sleep 1
        done
        [ -n "$viewer" ] || die "no LibreOffice window naming ${numbers[n]} within $VIEWER_SECONDS s"
        note "viewer window $viewer after $i s: $(xdotool getwindowname "$viewer")"
        viewers+=("$viewer")
        for viewer in "${viewers[@]}"; do
            xdotool getwindowname "$viewer" >/dev/null 2>&1 || die "an earlier viewer window closed"
        done
    done
    # Each earlier window, brought to the front, still shows its own receipt: shot-0.png ...
    for n in 0 1 2; do
        xdotool windowactivate --sync "${viewers[n]}" || true
        sleep 1
        import -window root "$work/shot-$n.png" || true
    done

    # "Keluar" ends the program and leaves every viewer open.
    xdotool windowactivate --sync "$wid"
    sleep 1
    xdotool key --delay 50 Tab Tab
    enter
    for ((i = 0; i < 50; i++)); do
        kill -0 "$prog" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$prog" 2>/dev/null && die "'Keluar' did not end the program"
    sleep 1
    for viewer in "${viewers[@]}"; do
        xdotool getwindowname "$viewer" >/dev/null 2>&1 || die "'Keluar' closed the viewer window $viewer"
    done
    echo passed >"$work/driven.txt"
}

if [ "${1:-}" = --drive ]; then
    drive "$2"
    exit 0
fi

[ $# -eq 2 ] || die "usage: $0 PROGRAM DATA_DIR"
for tool in xvfb-run xauth xdotool openbox soffice xdg-open xdg-mime import; do
    command -v "$tool" >/dev/null || die "$tool is missing (./test.sh installs it)"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/resipa-viewer.XXXXXX")
work=$(cd "$work" && pwd -P)
home=$work/home
mkdir -p "$work/Resipa" "$work/elsewhere" "$home"
mkdir -m 700 "$work/runtime"
cp "$1" "$work/Resipa/resipa"
cp "$2/rspdefault.rtf" "$here/informasi.inf" "$work/Resipa/"

# The viewers this test started: the program's descendants, which alone carry its HOME.
end_viewers() {
    local p pids=()
    for p in /proc/[0-9]*; do
        if grep -qxzF "HOME=$home" "$p/environ" 2>/dev/null; then
            pids+=("${p#/proc/}")
        fi
    done
    for p in "${pids[@]}"; do end_pid "$p"; done
}
passed=0
finish() {
    end_recorded "$work/program.pid" resipa
    end_viewers
    end_recorded "$work/openbox.pid" openbox
    end_recorded "$work/xvfb.pid" Xvfb
    leave_work
}
trap finish EXIT

# LibreOffice Writer opens RTF for this HOME, whatever the machine's own choice.
HOME=$home xdg-mime default libreoffice-writer.desktop text/rtf application/rtf
note "work folder $work"
status=0
env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u XDG_CONFIG_HOME -u XDG_DATA_HOME \
    -u XDG_CACHE_HOME -u DBUS_SESSION_BUS_ADDRESS \
    timeout -k 10 280 xvfb-run -a -f "$work/Xauthority" -s "-screen 0 1280x1024x24" \
    bash "${BASH_SOURCE[0]}" --drive "$work" || status=$?
if [ "$status" -ne 0 ] || [ ! -s "$work/driven.txt" ]; then
    cat "$work/program.log" 2>/dev/null || true
    die "the three receipts did not each reach a viewer window of their own (status $status; 124 is the time limit)"
fi
passed=1
note "passed: three viewer windows, each naming its own receipt, all left open by Keluar"
