#!/usr/bin/env bash
# Runs a Windows suite in a Wine prefix and a mount namespace of its own (as root), beside what
# only the Unix side can make:
#   X:        a disk of 1 MiB, which fills;
#   R:        a folder mounted read-only, holding a template and a previous Resipa.rtf;
#   C:\unix\  luar\ (arsip.rtf, an old "Kwitansi arsip.rtf"); folder\.kwitansi, a link to
#             luar; dokumen\Resipa.rtf, a link to luar\arsip.rtf; bersih\.kwitansi\, holding an
#             old link "Kwitansi tautan.rtf" to luar\arsip.rtf; lain\.kwitansi, nobody's folder.
# The mounts end with the namespace; the prefix and its Wine processes with the run.
#   privateprefix.sh WINE64 WINESERVER SUITE.exe [ARGUMENTS...]
# with WINEPREFIX (named wineprefix*) and the rest of Wine's environment set as the suites have it.
set -euo pipefail
if [ "${RESIPA_PRIVATE_MOUNTS:-}" != 1 ]; then
    RESIPA_PRIVATE_MOUNTS=1 exec unshare --mount --propagation private bash "$0" "$@"
fi
wine64=$1 wineserver=$2
shift 2
prefix=${WINEPREFIX:?}
prefixes="$(dirname "$0")/../../cmake/wineprefix.sh"

ends() {
    umount "$prefix/full" "$prefix/readonly" 2>/dev/null || true
    bash "$prefixes" remove "$wine64" "$wineserver"
}
trap ends EXIT
bash "$prefixes" make "$wine64" "$wineserver"

mkdir -p "$prefix/full" "$prefix/readonly"
mount -t tmpfs -o size=1m resipa-full "$prefix/full"
printf '[NOMOR_RESIPA]\r\n' >"$prefix/readonly/rspdefault.rtf"
printf 'previous receipt' >"$prefix/readonly/Resipa.rtf"
mount --bind "$prefix/readonly" "$prefix/readonly"
mount -o remount,bind,ro "$prefix/readonly"
ln -s "$prefix/full" "$prefix/dosdevices/x:"
ln -s "$prefix/readonly" "$prefix/dosdevices/r:"

unix=$prefix/drive_c/unix
mkdir -p "$unix/luar" "$unix/folder" "$unix/dokumen" "$unix/bersih/.kwitansi" "$unix/lain/.kwitansi"
printf arsip >"$unix/luar/arsip.rtf"
printf arsip >"$unix/luar/Kwitansi arsip.rtf"
ln -s ../luar "$unix/folder/.kwitansi"
ln -s ../luar/arsip.rtf "$unix/dokumen/Resipa.rtf"
ln -s ../../luar/arsip.rtf "$unix/bersih/.kwitansi/Kwitansi tautan.rtf"
touch -h -d '3 days ago' "$unix/luar/"* "$unix/bersih/.kwitansi/Kwitansi tautan.rtf"
chown nobody "$unix/lain/.kwitansi"

"$wine64" "$@"
