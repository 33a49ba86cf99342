# What the end-to-end scripts share: ending the processes they started, and starting the
# program in the virtual X server and typing a receipt into it. Sourced; E2E_NAME names the
# script in its messages.

# Pauses long enough for the queued focus moves of the Enter navigation to land even on a
# busy machine; the key events themselves are spaced by xdotool's --delay.
PAUSE_AFTER_ENTER=${PAUSE_AFTER_ENTER:-0.7}
PAUSE_AFTER_TYPING=${PAUSE_AFTER_TYPING:-0.3}

note() { printf '%s: %s\n' "$E2E_NAME" "$*"; }
die() { printf '%s: FAIL: %s\n' "$E2E_NAME" "$*" >&2; exit 1; }

# Ends a process and waits up to two seconds before forcing it.
end_pid() {
    local pid=$1
    kill "$pid" 2>/dev/null || return 0
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.2
    done
    kill -KILL "$pid" 2>/dev/null || true
}

# A pid that the driver wrote down, ended only while it still names the process it started:
# the driver may be gone, and the number reused.
end_recorded() {
    local file=$1 name=$2 pid
    [ -s "$file" ] || return 0
    pid=$(<"$file")
    [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$name" ] || return 0
    end_pid "$pid"
}

# The work folder $work goes once the test has passed ($passed), unless KEEP_E2E_DIR keeps it.
leave_work() {
    if [ "$passed" = 1 ] && [ -z "${KEEP_E2E_DIR:-}" ]; then
        rm -rf "$work"
    else
        note "work folder kept: $work"
    fi
}

# Inside xvfb-run: writes down the X server, started as our sibling, so that the outer part can
# end it should the driver itself be killed by the time limit.
record_xvfb() {
    local p
    for p in /proc/[0-9]*; do
        if [ "$(cat "$p/comm" 2>/dev/null)" = Xvfb ] &&
            [ "$(awk '{print $4}' "$p/stat" 2>/dev/null)" = "$PPID" ]; then
            echo "${p#/proc/}" >"$1"
        fi
    done
}

# Starts the program at $1/resipa from another folder ($2), so that it must find its files
# beside the executable, with its output in $3; sets prog and wid, the program's window.
start_program() {
    (cd "$2" &&
        exec env -u BROWSER -u DEFAULT_BROWSER -u SNAP QT_QPA_PLATFORM=xcb \
            "$1/resipa" >"$3" 2>&1) &
    prog=$!
    note "waiting for the window"
    if ! wid=$(timeout 30 xdotool search --sync --onlyvisible --name 'Resipa Elektronik' | head -n 1) ||
        [ -z "$wid" ]; then
        kill -0 "$prog" 2>/dev/null || die "the program ended before showing its window"
        die "no visible window named 'Resipa Elektronik' within 30 s"
    fi
    note "window $wid: $(xdotool getwindowname "$wid")"
}

alive() { kill -0 "$prog" 2>/dev/null || die "the program ended while the receipt was typed"; }
enter() { alive; xdotool key --delay 50 Return; sleep "$PAUSE_AFTER_ENTER"; }
typ() { alive; xdotool type --delay 50 "$1"; sleep "$PAUSE_AFTER_TYPING"; }

# Types one receipt from the date field on, the way an operator does: NOMOR KOTA NAMA ANGKA
# KET, Enter after each, the last Enter landing on "Preview", whose own Enter is left to the
# caller.
type_receipt() {
    enter                    # Tgl (today's date kept) -> txtNomor
    typ "$1"; enter          # txtNomor -> txtTempat
    typ "$2"; enter          # txtTempat (its text is selected) -> txtPen
    typ "$3"; enter          # txtPen -> txtJml
    typ "$4"; enter          # txtJml ("0" selected) -> past txtBilang -> txtKet
    typ "$5"; enter          # txtKet -> "Preview"
}
