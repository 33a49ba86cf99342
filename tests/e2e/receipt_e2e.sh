#!/usr/bin/env bash
# One receipt, typed with the keyboard only into the real program in a virtual X server,
# then the document that "Preview" writes and hands to the desktop is read back with unrtf.
# On the way, xprop and xwininfo show what the window asks of a window manager: a fixed size,
# a close box without minimise or maximise, and its caption.
#
# Usage: receipt_e2e.sh PROGRAM DATA_DIR
#   PROGRAM   the built resipa executable
#   DATA_DIR  the folder holding rspdefault.rtf
# The company profile is this folder's informasi.inf. KEEP_E2E_DIR=1 keeps the work folder.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# Qt's C locale groups digits with commas, so the typed 1500000 becomes 1,500,000; UTF-8 lets
# xdotool type the accented letter and perl read it back.
export LC_ALL=C.UTF-8 LANG=C.UTF-8

E2E_NAME=e2e
# shellcheck source=tests/e2e/e2elib.sh
source "$here/e2elib.sh"

# ---------------------------------------------------------------------------------------------
# Inside the X server: start the program and type the receipt.
# ---------------------------------------------------------------------------------------------
drive() {
    local work=$1 prog wid

    record_xvfb "$work/xvfb.pid"
    PATH="$work/fakebin:$PATH" start_program "$work/$E2E_EXE" "$work/elsewhere" "$work/program.log"
    echo "$prog" >"$work/program.pid"
    # Our own child, not yet waited for, so its pid cannot have been reused.
    # shellcheck disable=SC2064 # the pid is fixed now; the trap runs after drive returns
    trap "end_pid $prog" EXIT
    # What the window asks of a window manager: read by the outer part.
    xprop -id "$wid" >"$work/xprop.txt" 2>&1 || true
    xwininfo -id "$wid" >"$work/xwininfo.txt" 2>&1 || true

    # No window manager runs here, so give the window the keyboard ourselves.
    timeout 10 xdotool windowfocus --sync "$wid" || xdotool windowfocus "$wid" || true
    sleep 1.5

    # Pictures of the screen for a failure's post-mortem, where xwd (x11-apps) is installed.
    snap() { if command -v xwd >/dev/null; then xwd -root -silent -out "$work/screen-$1.xwd" || true; fi; }

    # The focus starts on the date, which keeps today's date.
    type_receipt "$E2E_NOMOR" "$E2E_KOTA" "$E2E_NAMA" "$E2E_ANGKA" "$E2E_KET"
    snap before-preview
    note "Enter on Preview"
    enter

    local i
    for ((i = 0; i < 100; i++)); do
        [ -s "$work/open-requests.txt" ] && break
        alive
        sleep 0.2
    done
    snap after-preview
    if [ ! -s "$work/open-requests.txt" ]; then
        if [ -n "$(xdotool search --onlyvisible --name 'Unhandle Error' 2>/dev/null)" ]; then
            die "Preview showed an 'Unhandle Error' box instead of opening the receipt"
        fi
        die "Preview asked the desktop to open nothing within 20 s"
    fi
    sleep 0.5
    alive
    # A second request would show up here; the outer part counts them.

    # "Preview" keeps the focus: two Tabs reach "Keluar", whose Enter ends the program.
    xdotool key --delay 50 Tab Tab
    sleep "$PAUSE_AFTER_ENTER"
    xdotool key --delay 50 Return
    for ((i = 0; i < 50; i++)); do
        kill -0 "$prog" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$prog" 2>/dev/null; then
        echo "still running" >"$work/keluar.txt"
    else
        wait "$prog" && echo "ended" >"$work/keluar.txt" || echo "ended with status $?" >"$work/keluar.txt"
    fi
}

if [ "${1:-}" = --drive ]; then
    drive "$2"
    exit 0
fi

# ---------------------------------------------------------------------------------------------
# Outside: prepare the folder, run the driver under xvfb-run, check what came out.
# ---------------------------------------------------------------------------------------------
[ $# -eq 2 ] || die "usage: $0 PROGRAM DATA_DIR"
program=$1
data=$2
[ -x "$program" ] || die "no program at $program"
[ -f "$data/rspdefault.rtf" ] || die "no template at $data/rspdefault.rtf"
for tool in xvfb-run xauth xdotool xprop xwininfo unrtf perl timeout; do
    command -v "$tool" >/dev/null || die "$tool is missing (scripts/setup.sh installs it)"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/resipa-e2e.XXXXXX")
work=$(cd "$work" && pwd -P)
passed=0
finish() {
    end_recorded "$work/program.pid" resipa
    end_recorded "$work/xvfb.pid" Xvfb
    leave_work
}
trap finish EXIT

# A folder name with a blank, "#", "%" and an accented letter: each must survive the way to
# the desktop's opener, which gets the document's plain path as its one argument.
export E2E_EXE="Kas #1 100% café"
exe=$work/$E2E_EXE
mkdir -p "$exe" "$work/fakebin" "$work/elsewhere"
cp "$program" "$exe/resipa"
cp "$data/rspdefault.rtf" "$exe/rspdefault.rtf"
cp "$here/informasi.inf" "$exe/informasi.inf"
# The desktop's opener, replaced by one that only writes down what it was asked to open.
cat >"$work/fakebin/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$1" >>'$work/open-requests.txt'
EOF
chmod +x "$work/fakebin/xdg-open"

export E2E_NOMOR="KW-0042/V/2025"
export E2E_KOTA="Bantul"
export E2E_NAMA="Budi Santoso"
export E2E_ANGKA="1500000"
export E2E_KET="Pembayaran café"

bulan=(Januari Februari Maret April Mei Juni Juli Agustus September Oktober November Desember)
tanggal() { echo "$(date +%-d) ${bulan[$(($(date +%-m) - 1))]} $(date +%Y)"; }
tanggal_awal=$(tanggal)

note "work folder $work"
driver_status=0
timeout -k 10 100 xvfb-run -a -f "$work/Xauthority" -s "-screen 0 1280x800x24" \
    bash "${BASH_SOURCE[0]}" --drive "$work" || driver_status=$?
tanggal_akhir=$(tanggal)

failures=()
fail() { failures+=("$*"); }

report() {
    printf '\ne2e: ---- program output ----\n'
    cat "$work/program.log" 2>/dev/null || true
    printf 'e2e: ---- open requests ----\n'
    cat "$work/open-requests.txt" 2>/dev/null || true
    if [ -f "$work/text.txt" ]; then
        printf 'e2e: ---- receipt text as unrtf reads it ----\n'
        cat "$work/text.txt"
        printf '\n'
    fi
    for shot in "$work"/screen-*.xwd; do
        if [ -e "$shot" ]; then note "screen picture: $shot (view with xwud -in FILE)"; fi
    done
    printf 'e2e: ---- failures ----\n'
    printf 'e2e: FAIL: %s\n' "${failures[@]}" >&2
    exit 1
}

if [ "$driver_status" -ne 0 ]; then
    fail "typing the receipt failed (status $driver_status; 124 is the time limit)"
    report
fi

# The window as the X server knows it: fixed at 839 x 436 (minimum and maximum size alike),
# a title bar with a close box but no minimise or maximise (the Motif hints Qt sets for a window
# manager: functions and decorations listed one by one, none of them "all", neither of the two
# boxes), and the caption.
hint() { sed -n "s/^[[:space:]]*program specified $1 size: //p" "$work/xprop.txt"; }
[ "$(hint minimum)" = "839 by 436" ] && [ "$(hint maximum)" = "839 by 436" ] ||
    fail "WM_NORMAL_HINTS do not fix the size at 839 by 436: min '$(hint minimum)', max '$(hint maximum)'"
client=$(awk '/^  Width:/ {w=$2} /^  Height:/ {h=$2} END {print w "x" h}' "$work/xwininfo.txt")
[ "$client" = 839x436 ] || fail "xwininfo gives the window $client, not 839x436"
motif=$(sed -n 's/^_MOTIF_WM_HINTS([^)]*) = //p' "$work/xprop.txt")
IFS=', ' read -r mflags mfunctions mdecorations _ <<<"${motif:-0, 0, 0}"
if ((!(mflags & 1) || !(mflags & 2))); then
    fail "_MOTIF_WM_HINTS '$motif' leave the window's functions or decorations to the window manager"
else
    # Functions: 1 all, 8 minimise, 16 maximise, 32 close. Decorations: 1 all, 8 title,
    # 32 minimise box, 64 maximise box.
    ((mfunctions & (1 | 8 | 16))) && fail "_MOTIF_WM_HINTS '$motif' allow minimising or maximising"
    ((mfunctions & 32)) || fail "_MOTIF_WM_HINTS '$motif' do not allow closing"
    ((mdecorations & (1 | 32 | 64))) && fail "_MOTIF_WM_HINTS '$motif' ask for a minimise or maximise box"
    ((mdecorations & 8)) || fail "_MOTIF_WM_HINTS '$motif' ask for no title bar"
fi
for name in WM_NAME _NET_WM_NAME; do
    grep -q "^$name([A-Z0-9_]*) = \"Resipa Elektronik - " "$work/xprop.txt" ||
        fail "$name does not begin 'Resipa Elektronik - ': $(grep "^$name(" "$work/xprop.txt")"
done

# The desktop was asked once, with the plain path of the receipt's own document in the private
# folder, which holds the very bytes of the document beside the executable.
expected_doc="$exe/Resipa.rtf"
mapfile -t requests <"$work/open-requests.txt"
[ "${#requests[@]}" -eq 1 ] || fail "expected one open request, got ${#requests[@]}"
request=${requests[0]:-}
[[ "$request" == "$exe/.kwitansi/Kwitansi KW-0042-V-2025 "[0-2][0-9].[0-5][0-9].[0-5][0-9].rtf ]] ||
    fail "open request names '$request', not the receipt's own document in $exe/.kwitansi"
cmp -s "$request" "$expected_doc" || fail "the document handed over is not the one written"

[ "$(cat "$work/keluar.txt" 2>/dev/null)" = ended ] ||
    fail "Enter on 'Keluar' did not end the program cleanly: $(cat "$work/keluar.txt" 2>/dev/null)"

# The template and the profile are only ever read.
cmp -s "$data/rspdefault.rtf" "$exe/rspdefault.rtf" || fail "the template was changed"
cmp -s "$here/informasi.inf" "$exe/informasi.inf" || fail "the profile file was changed"

[ -s "$expected_doc" ] || { fail "no document at $expected_doc"; report; }

# The raw document: lines end in CR LF, values are escaped to plain ASCII, no placeholder
# is left, and the two-space gap before "Rupiah" is kept.
crlf=$(grep -c $'\r$' "$expected_doc" || true)
lines=$(wc -l <"$expected_doc")
[ "$crlf" -eq "$lines" ] || fail "only $crlf of $lines lines end in CR LF"
LC_ALL=C grep -q $'[\x80-\xff]' "$expected_doc" && fail "the document holds raw non-ASCII bytes"
leftover=$(grep -oE '\[(TGL_RESIPA|NOMOR_RESIPA|KETERANGAN|JUMLAH|KOTA|TERBILANG|NAMA|NAMA_PERUSAHAAN|ALAMAT_PERUSAHAAN|DESCRIPSI_PERUSAHAAN|NAMA_PIMPINAN|NAMA_BANK|ATAS_NAMA|ACC)\]' \
    "$expected_doc" | sort -u | tr '\n' ' ' || true)
[ -z "$leftover" ] || fail "placeholders left unfilled: $leftover"
grep -qF 'Satu Juta Lima Ratus Ribu  Rupiah' "$expected_doc" ||
    fail "the document lacks 'Satu Juta Lima Ratus Ribu  Rupiah' (two spaces before Rupiah)"

# What a reader of the document sees. unrtf folds runs of spaces, so text and expectations are
# both compared with whitespace collapsed to single spaces; each value must stand as whole words.
if ! unrtf --html "$expected_doc" >"$work/unrtf.html" 2>"$work/unrtf.err"; then
    fail "unrtf cannot read the document: $(head -c 300 "$work/unrtf.err")"
    report
fi
sed -e 's/<[^>]*>//g' "$work/unrtf.html" |
    perl -CS -e '
        my %e = (amp => "&", lt => "<", gt => ">", quot => "\"", apos => "\x27", nbsp => " ",
                 eacute => "\x{e9}", Eacute => "\x{c9}", egrave => "\x{e8}", agrave => "\x{e0}",
                 aacute => "\x{e1}", ccedil => "\x{e7}", ouml => "\x{f6}", uuml => "\x{fc}",
                 ndash => "\x{2013}", mdash => "\x{2014}", lsquo => "\x{2018}", rsquo => "\x{2019}",
                 ldquo => "\x{201c}", rdquo => "\x{201d}", hellip => "\x{2026}");
        local $/; my $t = <STDIN>;
        $t =~ s/&#[xX]([0-9a-fA-F]+);/chr(hex $1)/ge;
        $t =~ s/&#([0-9]+);/chr($1)/ge;
        $t =~ s/&([A-Za-z]+);/exists $e{$1} ? $e{$1} : "&$1;"/ge;
        $t =~ s/\s+/ /g;
        print $t;' >"$work/text.txt"

expect_text() {
    local want
    want=$(printf '%s' "$1" | tr -s '[:space:]' ' ')
    grep -qwF -- "$want" "$work/text.txt" || fail "the receipt does not show '$want'"
}
expect_text "$E2E_NOMOR"
expect_text "$E2E_KOTA"
expect_text "$E2E_NAMA"
expect_text "Rp.1,500,000"
expect_text "Satu Juta Lima Ratus Ribu  Rupiah"
expect_text "$E2E_KET"
expect_text "PT Contoh Sejahtera Uji"
expect_text "Katering, Kafé & Kue"
expect_text "Jl. Melati Uji No. 7, Bandung 40111"
expect_text "Bank Contoh Uji"
expect_text "987-654-3210"
expect_text "Sari Contoh Lestari"
expect_text "Agus Pranoto Uji"
if ! grep -qwF -- "$tanggal_awal" "$work/text.txt" && ! grep -qwF -- "$tanggal_akhir" "$work/text.txt"; then
    fail "the receipt does not show today's date '$tanggal_akhir'"
fi
# The typed city replaced the profile's, it was not added to it.
grep -qF Magelang "$work/text.txt" && fail "the profile's city 'Magelang' is still on the receipt"

[ ${#failures[@]} -eq 0 ] || report
passed=1
note "passed: the typed receipt and the profile reached the document, and the desktop was asked to open it"
