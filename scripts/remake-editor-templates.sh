#!/usr/bin/env bash
# Remakes the receipt templates of tests/data/editors/ with the editors themselves, from the
# sources beside them: LibreOffice Writer (as RTF, also by way of .docx and from HTML), AbiWord and
# pandoc. word.rtf is written by hand the way Word writes RTF. Needs libreoffice-writer,
# abiword and pandoc; the results are kept in the repository, so the tests need none of them.
set -euo pipefail
cd "$(dirname "$0")/../tests/data/editors"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
office() { soffice -env:UserInstallation="file://$work/profile" --headless "$@" >/dev/null; }

office --convert-to rtf --outdir "$work" kwitansi.fodt
mv "$work/kwitansi.rtf" lo-writer.rtf
office --convert-to docx --outdir "$work" kwitansi.fodt
office --convert-to rtf --outdir "$work" "$work/kwitansi.docx"
mv "$work/kwitansi.rtf" lo-docx.rtf
office --infilter="HTML (StarWriter)" --convert-to rtf --outdir "$work" kwitansi.html
mv "$work/kwitansi.rtf" lo-html.rtf
abiword --to=rtf -o abiword.rtf kwitansi.html
pandoc -s -t rtf -o pandoc.rtf kwitansi.md
