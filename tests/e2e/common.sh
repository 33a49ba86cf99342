# What the end-to-end tests share, sourced: their messages, and today as a receipt writes it.
# The sourcing script names itself in e2e_name; a failure on its X desktop (on_desktop set)
# leaves a picture of the screen in $work/failed.png.

note() { printf '%s: %s\n' "$e2e_name" "$*"; }
die() {
    printf '%s: FAIL: %s\n' "$e2e_name" "$*" >&2
    if [ -n "${on_desktop:-}" ]; then import -window root "$work/failed.png" || true; fi
    exit 1
}
ended() { ! kill -0 "$1" 2>/dev/null; }

bulan=(Januari Februari Maret April Mei Juni Juli Agustus September Oktober November Desember)
tanggal() { echo "$(date +%-d) ${bulan[$(date +%-m) - 1]} $(date +%Y)"; }
