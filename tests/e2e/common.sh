# What the end-to-end tests share, sourced by a script that sets e2e_name, its receipts (numbers,
# names, amounts, ket) and work; a failure on its X desktop (on_desktop set) leaves a picture.

note() { printf '%s: %s\n' "$e2e_name" "$*"; }
die() {
    printf '%s: FAIL: %s\n' "$e2e_name" "$*" >&2
    if [ -n "${on_desktop:-}" ]; then import -window root "$work/failed.png" || true; fi
    exit 1
}
ended() { ! kill -0 "$1" 2>/dev/null; }
# The work folder goes once the script passed, unless KEEP_E2E_DIR is set.
end_work() {
    if [ "$passed" = 1 ] && [ -z "${KEEP_E2E_DIR:-}" ]; then rm -rf "$work"; else note "kept $work"; fi
}
# A work folder, in it the program's folder (its blank, "#", "%" and "é" must survive the way to
# the desktop's opener) with PROGRAM as NAME, DATA_DIR's template and the sample profile.
make_work() { # PROGRAM NAME DATA_DIR
    work=$(mktemp -d "${TMPDIR:-/tmp}/resipa-$e2e_name.XXXXXX") && work=$(cd "$work" && pwd -P)
    exe="$work/Kas #1 100% café" passed=0
    mkdir -p "$exe" "$work/elsewhere" && cp "$1" "$exe/$2"
    cp "$3/rspdefault.rtf" "$here/informasi.inf" "$exe/"
}
need_tools() {
    local t
    for t in "$@"; do command -v "$t" >/dev/null || die "$t is missing (./test.sh installs it)"; done
}

bulan=(Januari Februari Maret April Mei Juni Juli Agustus September Oktober November Desember)
tanggal() { echo "$(date +%-d) ${bulan[$(date +%-m) - 1]} $(date +%Y)"; }

# "é" on a key of its own: xdotool would bind it to a spare key only around its press, and a
# busy program that reads the changed keymap after that would see no letter. No auto-repeat:
# on a busy machine xdotool may hold a key long enough for the server to repeat it.
keyboard_for_typing() {
    xmodmap -e "keycode $(xmodmap -pke | awk 'NF == 3 {print $2; exit}') = eacute Eacute"
    xset r off
}

# Receipt N typed without pauses, each xdotool command through PRESS: from "Preview", Tab and
# Enter on "Clear"; the date kept; Enter after each field, the last landing on "Preview", and on it.
type_receipt() { # PRESS N
    local press=$1 n=$2 v
    [ "$n" -eq 0 ] || $press key --delay 50 Tab Return
    for v in "" "${numbers[n]}" Bantul "${names[n]}" "${amounts[n]}" "$ket"; do
        [ -z "$v" ] || $press type --delay 50 "$v"
        $press key --delay 50 Return
    done
    note "Enter on Preview for ${numbers[n]}"
    $press key --delay 50 Return
}

# What a reader sees of EXE_DIR's receipt: receipt N, the sample profile, the date DAY or today's;
# the template and profile are only ever read.
read_back() { # EXE_DIR N AMOUNT_SHOWN WORDS DAY DATA_DIR
    local v
    unrtf --html "$1/Resipa.rtf" 2>"$work/unrtf.err" |
        sed 's/<[^>]*>//g; s/&eacute;/é/g; s/&nbsp;/ /g; s/&amp;/\&/g' | tr -s '[:space:]' ' ' >"$work/text.txt" ||
        die "unrtf cannot read the document: $(<"$work/unrtf.err")"
    for v in "${numbers[$2]}" Bantul "${names[$2]}" "$3" "$4" "$ket" \
        "PT Contoh Sejahtera Uji" "Katering, Kafé & Kue" "Jl. Melati Uji No. 7, Bandung 40111" \
        "Bank Contoh Uji" 987-654-3210 "Sari Contoh Lestari" "Agus Pranoto Uji"; do
        grep -qwF -- "$v" "$work/text.txt" || die "the receipt does not show '$v': $(cat "$work/text.txt")"
    done
    grep -qwF -e "$5" -e "$(tanggal)" "$work/text.txt" || die "the receipt does not show today's date '$5'"
    cmp -s "$6/rspdefault.rtf" "$1/rspdefault.rtf" || die "the template was changed"
    cmp -s "$here/informasi.inf" "$1/informasi.inf" || die "the profile was changed"
}
